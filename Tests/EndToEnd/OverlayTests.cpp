#include <algorithm>
#include <string>
#include <vector>

#include "KelvoCore/Keys/KeyCode.h"
#include "Platform/Quartz/CGEvent.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

namespace kelvo::testing {
namespace {

// Kelvo's overlays as another process sees them: their texts in the desktop's list of interface
// elements, their windows in its window list, and the application in front, which they never
// take the keyboard from.
class OverlayTest : public EndToEndTest {
  protected:
    OverlayTest() { writeConfig(R"({"guideSeen":true})"); }

    /// Kelvo with Notes in front.
    void startOverNotes() {
        open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
        startKelvo();
        ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
        ASSERT_TRUE(eventually([&] { return frontApplication() == notes; }));
    }
    /// Kelvo's element that shows this text, when one does now.
    std::optional<InterfaceElement> showing(const std::string& label) {
        for (auto& element : OwnInterface(desktop(), kelvo().pid()).elements())
            if (element.label == label) return element;
        return std::nullopt;
    }
    /// Presses ⌥ and a digit, and waits for the number on Kelvo's screen: the desktop is asked
    /// over one connection of the test's own, since the display is up for about a second and a
    /// command-line verb can take that long to start on a busy machine. The number's element.
    std::optional<sim::ElementRecord> switchShows(sim::DesktopClient& control, int number) {
        control.key(KeyCode::digits.at(static_cast<std::size_t>(number - 1)),
                    kCGEventFlagMaskAlternate);
        std::optional<sim::ElementRecord> seen;
        eventually(
            [&] {
                for (const auto& record : control.elements(kelvo().pid()))
                    if (record.element.label == std::to_string(number)) seen = record;
                return seen.has_value();
            },
            ChildProcess::generousWait, std::chrono::milliseconds(5));
        return seen;
    }
    /// The Escape key downs that reached Notes so far.
    std::size_t escapesInNotes(sim::DesktopClient& control) {
        std::size_t count = 0;
        for (const auto& event : control.receivedInput(pidOf(notes)))
            count += event.type == sim::inputKeyDown && event.keyCode == escapeKeyCode;
        return count;
    }
    bool sheetShown() {
        const auto sheet = ownWindowOnLevel(8);
        return sheet && sheet->onScreen;
    }
    static constexpr std::uint16_t escapeKeyCode = 53;

    /// Kelvo's window on this level, as the desktop lists it.
    std::optional<DesktopWindow> ownWindowOnLevel(int layer) {
        for (const auto& each : windows())
            if (each.pid == kelvo().pid() && each.layer == layer) return each;
        return std::nullopt;
    }
};

TEST_F(OverlayTest, ADesktopSwitchShowsItsNumberForAMomentThenTheDisplayGoes) {
    startOverNotes();
    sim::SocketConnection connection(desktop().socketPath());
    const auto two = switchShows(connection.client(), 2);
    ASSERT_TRUE(two);
    // The next switch, while the display is up, shows its number in the same window.
    const auto three = switchShows(connection.client(), 3);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->window, two->window);
    EXPECT_EQ(frontApplication(), notes) << "the display took the front";

    // A 160-point square in the middle of the main screen, above everything, that leaves the
    // screen with its number a moment later.
    EXPECT_TRUE(eventually([&] {
        const auto listed = window(two->window);
        return listed && !listed->onScreen;
    }));
    const auto display = window(two->window);
    ASSERT_TRUE(display);
    EXPECT_TRUE(near(display->frame, CGRect(960 - 80, 540 - 80, 160, 160)))
        << display->frame.minX() << " " << display->frame.minY();
    EXPECT_EQ(display->layer, 1000);
    EXPECT_FALSE(interfaceShows("3"));
    EXPECT_EQ(kelvo().state().activeDesktop, 3);
}

TEST_F(OverlayTest, TheCheatSheetShortcutShowsTheSheetWithItsRowsListedAndAgainHidesIt) {
    startOverNotes();
    ASSERT_TRUE(key("alt+/"));
    ASSERT_TRUE(eventually([&] { return interfaceShows("again to close"); }));
    const auto listed = interfaceLabels();
    for (const char* expected :
         {"Shortcuts", "DESKTOPS", "FOCUS", "Go to desktop 1 – 9", "Focus the window to the left",
          "Open a new terminal window", "⌥/"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), expected), listed.end()) << expected;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "…"), 0) << "a text was cut short";

    // Centred in the visible part of the screen under the pointer, floating, and the keyboard
    // stays with Notes: the shortcuts go on working with the sheet up.
    const auto sheet = ownWindowOnLevel(8);
    ASSERT_TRUE(sheet && sheet->onScreen);
    const CGRect visible = screen();
    EXPECT_TRUE(near(sheet->frame, CGRect(visible.midX() - 490, visible.midY() - 310, 980, 620)));
    EXPECT_EQ(frontApplication(), notes);
    ASSERT_TRUE(key("alt+2"));
    EXPECT_TRUE(eventually([&] { return kelvo().state().activeDesktop == 2; }));
    EXPECT_TRUE(interfaceShows("again to close"));

    // Again closes it.
    ASSERT_TRUE(key("alt+/"));
    EXPECT_TRUE(eventually([&] {
        const auto now = ownWindowOnLevel(8);
        return now && !now->onScreen;
    }));
    EXPECT_FALSE(interfaceShows("again to close"));
}

// The sheet never takes the keyboard, so Escape reaches it only through Kelvo's key tap: while
// the sheet shows, a plain Escape puts it away and goes no further; otherwise Escape, and an
// Escape with a modifier held, are the application's.
TEST_F(OverlayTest, EscapePutsTheCheatSheetAwayAndOtherwiseReachesTheApplicationInFront) {
    startOverNotes();
    sim::SocketConnection connection(desktop().socketPath());
    ASSERT_TRUE(key("alt+/"));
    ASSERT_TRUE(eventually([&] { return interfaceShows("again to close"); }));
    const std::size_t before = escapesInNotes(connection.client());

    // ⌘Escape is another chord: Notes gets it and the sheet stays.
    ASSERT_TRUE(key("cmd+escape"));
    ASSERT_TRUE(eventually([&] { return escapesInNotes(connection.client()) == before + 1; }))
        << "⌘Escape did not reach Notes";
    EXPECT_TRUE(sheetShown());

    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return !sheetShown(); })) << "Escape left the sheet up";
    EXPECT_FALSE(interfaceShows("again to close"));
    EXPECT_EQ(escapesInNotes(connection.client()), before + 1) << "the Escape reached Notes";
    EXPECT_EQ(frontApplication(), notes);

    ASSERT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return escapesInNotes(connection.client()) == before + 2; }))
        << "with the sheet away, Escape did not reach Notes";
    EXPECT_FALSE(sheetShown());
}

}  // namespace
}  // namespace kelvo::testing
