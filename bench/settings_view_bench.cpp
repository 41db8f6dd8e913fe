// The settings window's content on a tab switch and on one character typed into its search:
// from the click (or the changed query) to the new pixels (the body evaluated again on the next
// turn, laid out at the window's size and drawn into a bitmap at twice the points). In process,
// on the manual clock, so only the work is timed.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Platform/SwiftUI/ViewGraph.h"
#include "Support/KelvoCore/FakePreferenceStore.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

using namespace kelvo;

constexpr CGSize windowSize{696, 780};

/// The settings view of a model on a desktop, laid out and drawn once.
class SettingsScene {
  public:
    SettingsScene() {
        graph.observe(model);
        draw();
    }
    /// Runs the turn the change scheduled and draws the new tree. As in the hosting view, the
    /// turn lays the new tree out at the graph's size; only a graph of another size (the first
    /// time) is laid out here.
    void draw() {
        clock.runUntilIdle();
        if (graph.size() != windowSize) graph.layout(windowSize);
        graph.draw(*bitmap);
    }
    /// Clicks the middle of the view of that identity.
    bool click(const std::string& identifier) {
        const SwiftUI::LayoutNode* node = graph.tree().findIdentifier(identifier);
        return node && graph.click({node->frame.midX(), node->frame.midY()});
    }
    /// The query as the search field hands it over after a keystroke.
    void type(const std::string& query) {
        SettingsSearch search(SettingsCatalog::entries(model.config()));
        search.type(query);
        model.search = search;
    }

    ManualClock clock;
    InstalledDesktop installed{CGRect(0, 0, 1440, 900), InstalledDesktop::ownBundlePath};
    ConfigStore store{std::filesystem::temp_directory_path() / "kelvo-bench-no-such-folder" /
                      "config.json"};
    SettingsModel model{
        store, SystemTweakService(std::make_shared<FakePreferenceStore>(), [] {}),
        std::filesystem::temp_directory_path() / "kelvo-bench-no-such-folder" / "kelvo.log"};
    SwiftUI::ViewGraph graph{[this] { return SettingsView(model).body(); }};
    std::unique_ptr<CGBitmapContext> bitmap = CGBitmapContext::make(windowSize, 2);
};

void BM_SettingsTabSwitch(benchmark::State& state) {
    SettingsScene scene;
    bool onShortcuts = false;
    for (auto _ : state) {
        onShortcuts = !onShortcuts;
        if (!scene.click(onShortcuts ? "tab.shortcuts" : "tab.system")) {
            state.SkipWithError("no tab button");
            break;
        }
        scene.draw();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SettingsTabSwitch)->Unit(benchmark::kMillisecond);

void BM_SettingsSearchKeystroke(benchmark::State& state) {
    SettingsScene scene;
    scene.model.setSection(SettingsTab::shortcuts);
    scene.draw();
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        scene.type(typed ? "m" : "");
        scene.draw();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SettingsSearchKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
