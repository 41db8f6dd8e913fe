// The settings window as a person meets it on a served desktop, one step per iteration: a key
// typed into its search field, or a click on a tab of its sidebar, from the event entering the
// desktop (as `kelvo-sim type` and `click` send it) to the window's new picture held by the
// desktop. Timed between them: the event routed over the socket to this process, handed by the
// window to the field editor and on to the search (or to the tab's button), the settings body
// evaluated again, laid out, drawn, packed and sent back over the socket, read and checked by the
// server. The window is the real one, built by its controller at the size the desktop gives it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "KelvoApp/Services/Windows/SettingsWindowController.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KeyChord.h"
#include "ServedDesktop.h"

namespace kelvo::bench {
namespace {

using namespace std::chrono_literals;

/// What a person searches for, typed a character at a time; each word is typed into an empty
/// field opened with ⌘K and taken away with Escape (neither timed).
const std::vector<std::string> searchedWords = {"border", "gaps", "launcher", "shortcut",
                                                "animation"};
/// What runs untimed after each step, so that the next one meets a window at rest; the pictures
/// it draws meanwhile are counted with the step's.
constexpr auto settleAfterStep = 20ms;

/// The settings window shown on a served desktop, its first picture held by the desktop.
class SettingsScene {
  public:
    SettingsScene() {
        controller.show();
        ready = served
                    .runUntil([](sim::DesktopClient&) {},
                              [](const auto& held) { return holdsIdentifier(held, "tab.general"); })
                    .has_value();
    }

    /// Presses a chord as `kelvo-sim key` does and waits until the desktop holds what it shows.
    bool press(const std::string& chordText, const ServedDesktop::Holds& holds) {
        const auto chord = kelvo_sim::KeyChord::parse(chordText);
        return served
            .runUntil([&](sim::DesktopClient& person) { person.key(chord->keyCode, chord->flags); },
                      holds)
            .has_value();
    }

    std::uint64_t pictures() const { return controller.window->picturesSent(); }

    ServedDesktop served;
    ConfigStore store{served.folder / "kelvo" / "config.json"};
    SettingsWindowController controller{store, served.folder / "kelvo" / "kelvo.log"};
    bool ready = false;
};

void settingsSearchKeystroke(benchmark::State& state) {
    SettingsScene scene;
    if (!scene.ready) return state.SkipWithError("the settings window never showed");
    std::size_t word = 0, typed = 0;
    std::string query;
    std::uint64_t pictures = 0;
    for (auto _ : state) {
        if (typed == 0) {
            const bool opened = scene.press("cmd+k", [](const auto& held) {
                for (const sim::ElementRecord& record : held)
                    if (record.element.role == "textField") return record.element.focused;
                return false;
            });
            if (!opened) return state.SkipWithError("⌘K did not focus the search field");
            scene.served.runFor(settleAfterStep);
        }
        query += searchedWords[word][typed];
        const auto picturesBefore = scene.pictures();
        const auto took = scene.served.typeLastOf(query);
        if (!took) return state.SkipWithError("the typed query never reached the desktop");
        state.SetIterationTime(std::chrono::duration<double>(*took).count());
        // Untimed: whatever else the key makes the window draw.
        scene.served.runFor(settleAfterStep);
        pictures += scene.pictures() - picturesBefore;
        if (++typed == searchedWords[word].size()) {
            const bool emptied =
                scene.press("escape", [](const auto& held) { return textFieldValue(held) == ""; });
            if (!emptied) return state.SkipWithError("Escape did not empty the search");
            scene.served.runFor(settleAfterStep);
            query.clear();
            typed = 0;
            word = (word + 1) % searchedWords.size();
        }
    }
    state.counters["pictures/key"] =
        benchmark::Counter(static_cast<double>(pictures), benchmark::Counter::kAvgIterations);
    state.counters["packedBytes"] = static_cast<double>(
        scene.served.desktop->ownWindowPicture(scene.controller.window->windowNumber())
            .packed.size());
}
BENCHMARK(settingsSearchKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond);

/// The sidebar's tabs clicked in turns, each with a row its page begins with.
struct Tab {
    const char* button;
    const char* firstRow;
};
constexpr Tab clickedTabs[] = {{"tab.shortcuts", "primaryModifier"},
                               {"tab.system", "tweak.windowAnimations"}};

void settingsTabSwitch(benchmark::State& state) {
    SettingsScene scene;
    if (!scene.ready) return state.SkipWithError("the settings window never showed");
    std::size_t next = 0;
    std::uint64_t pictures = 0;
    for (auto _ : state) {
        const Tab& tab = clickedTabs[next];
        const auto button = scene.served.frameOf(tab.button);
        if (!button) return state.SkipWithError("no such tab button");
        const auto picturesBefore = scene.pictures();
        const auto took = scene.served.runUntil(
            [&](sim::DesktopClient& person) { person.click(button->midX(), button->midY(), 0); },
            [&](const auto& held) { return holdsIdentifier(held, tab.firstRow); });
        if (!took) return state.SkipWithError("the tab's page never reached the desktop");
        state.SetIterationTime(std::chrono::duration<double>(*took).count());
        scene.served.runFor(settleAfterStep);
        pictures += scene.pictures() - picturesBefore;
        next = (next + 1) % std::size(clickedTabs);
    }
    state.counters["pictures/click"] =
        benchmark::Counter(static_cast<double>(pictures), benchmark::Counter::kAvgIterations);
}
BENCHMARK(settingsTabSwitch)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo::bench
