#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/SwiftUI/ViewGraph.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {

/// A page of the settings window as it is laid out in the window at its default size, for
/// assertions and clicks. Built again from the model by `refresh`, as the window does after
/// the model publishes.
class LaidOutPage {
  public:
    /// The window's default size without a screen, less the sidebar and its rule.
    static constexpr CGFloat pageWidth = 696 - 196 - 1;
    static constexpr CGFloat pageHeight = 780 - 31;

    explicit LaidOutPage(std::function<SwiftUI::View()> page);

    const SwiftUI::LayoutNode& tree() const { return graph_->tree(); }
    /// The node of that identifier; throws with the whole tree when there is none.
    const SwiftUI::LayoutNode& id(const std::string& identifier) const;
    /// The first node of that role inside `within`; throws when there is none.
    const SwiftUI::LayoutNode& role(const SwiftUI::LayoutNode& within,
                                    const std::string& role) const;
    /// The card titles as shown and the rows' setting ids, in order down the page.
    std::vector<std::string> outline() const;
    /// The text inside `within` that shows `words`, however its lines were broken.
    static const SwiftUI::LayoutNode* words(const SwiftUI::LayoutNode& within,
                                            const std::string& words);
    /// The texts inside `within`, in order.
    static std::vector<std::string> texts(const SwiftUI::LayoutNode& within);

    /// Clicks the middle of a node, then builds the page again.
    bool click(const SwiftUI::LayoutNode& node);
    /// Clicks a point, then builds the page again.
    bool click(CGPoint point);
    /// Clicks the slider inside the row of that id at `fraction` of the knob's travel.
    void slide(const std::string& row, double fraction);
    /// Lays the page out again from the model.
    void refresh();

    /// The menus popped up, and the item the next one picks (none: it is dismissed).
    std::vector<std::vector<SwiftUI::MenuEntry>> menus;
    std::optional<std::string> pickInMenu;
    /// The colour the next colour panel picks.
    std::optional<SwiftUI::Color> pickColour;

  private:
    void install();

    std::function<SwiftUI::View()> page_;
    std::unique_ptr<SwiftUI::ViewGraph> graph_;
};

/// The settings model of the view fixture, with every effective change of the configuration
/// counted as the store hears it.
class SettingsPageFixture : public SettingsViewFixture {
  protected:
    SettingsPageFixture();

    /// Changes the configuration elsewhere (the store takes it and the model shows it), then
    /// forgets the writes so far.
    void given(const std::function<void(Config&)>& change);

    /// The configurations the store took, in order.
    std::vector<Config> writes;
};

}  // namespace kelvo
