#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Platform/SwiftUI/ViewGraph.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/KelvoCore/FakePreferenceStore.h"
#include "Support/Platform/InstalledApplicationsFixture.h"

namespace kelvo {

/// A settings model over a store in a temporary folder that saves on the manual clock, on a
/// fresh desktop whose installed applications a test may choose, and a graph of any view of it
/// laid out at the settings window's size.
class SettingsViewFixture : public InstalledApplicationsFixture {
  protected:
    static constexpr CGFloat windowWidth = 696;
    static constexpr CGFloat windowHeight = 780;

    /// Lays out `view` (rebuilt from the model on every layout) at the window's size.
    const SwiftUI::LayoutNode& show(std::function<SwiftUI::View()> view,
                                    CGSize size = {windowWidth, windowHeight}) {
        graph = std::make_unique<SwiftUI::ViewGraph>(std::move(view));
        graph->observe(model);
        return graph->layout(size);
    }
    /// The tree again after the model's changes.
    const SwiftUI::LayoutNode& relayout() {
        settle();
        return graph->layout(graph->size());
    }
    const SwiftUI::LayoutNode& id(const std::string& identifier) const {
        const SwiftUI::LayoutNode* found = graph->tree().findIdentifier(identifier);
        if (!found) throw std::runtime_error("no " + identifier + "\n" + graph->tree().describe());
        return *found;
    }
    bool has(const std::string& identifier) const {
        return graph->tree().findIdentifier(identifier) != nullptr;
    }
    /// Clicks the middle of a node.
    void click(const SwiftUI::LayoutNode& node) {
        graph->click({node.frame.midX(), node.frame.midY()});
        settle();
    }

    testing::TemporaryFolder folder;
    ConfigStore store{folder / "config.json", ConfigStore::mainQueueScheduler()};
    std::shared_ptr<FakePreferenceStore> preferences = std::make_shared<FakePreferenceStore>();
    SettingsModel model{store, SystemTweakService(preferences, [] {}), folder / "kelvo.log"};
    std::unique_ptr<SwiftUI::ViewGraph> graph;
};

}  // namespace kelvo
