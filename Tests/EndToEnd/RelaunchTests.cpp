#include <signal.h>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Kelvo started again after it ended: after a quit, after being killed outright, and after the
// machine restarted. The session file brings the last desktops back only within one boot
// (a window number means nothing in another boot).
class RelaunchTest : public EndToEndTest {
  protected:
    /// A boot time that is not this machine's: the desktop of a machine booted again.
    static constexpr const char* anotherBoot = "1000000000";

    /// The same three windows on every desktop this test starts, in the same order, so that a
    /// new desktop numbers them as the last one did.
    std::vector<std::uint32_t> openWindows() {
        return {open(notes, CGRect(80, 90, 640, 480), FixtureQuirk::plain, "Draft"),
                open(browser, CGRect(400, 160, 820, 600), FixtureQuirk::plain, "News"),
                open(terminal, CGRect(700, 400, 600, 380), FixtureQuirk::plain, "Shell")};
    }

    /// Brings the last window (the terminal's) to the front, sends it to desktop 3 and shows
    /// desktop 3 by its shortcut, so that desktop 1's windows are parked.
    void sendLastToDesktopThree(const std::vector<std::uint32_t>& all) {
        FixtureRequest activate;
        activate.op = "activate";
        activate.window = all.back();
        tell(terminal, activate);
        ASSERT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == all.back(); }));
        ASSERT_TRUE(kelvo().command(Command::throwTo(3)).ok);
        ASSERT_TRUE(key("alt+3"));
        ASSERT_TRUE(eventuallyState(all, [&](const auto& r) { return desktopThreeShown(r, all); }));
        ASSERT_TRUE(settled(all));
    }

    /// Desktop 3 shows its one window, the last, and the first two wait parked on desktop 1.
    static bool desktopThreeShown(const KelvoTestReply& r, const std::vector<std::uint32_t>& all) {
        const auto& w = *r.windows;
        const std::string parked =
            "parked=[" + std::to_string(all[0]) + " " + std::to_string(all[1]) + "]";
        return r.activeDesktop == 3 && w[0].desktop == 1 && w[1].desktop == 1 &&
               w[2].desktop == 3 && r.description->find(parked) != std::string::npos;
    }

    /// The windows' desktops, from Kelvo's records.
    std::vector<std::optional<int>> desktopsOf(const std::vector<std::uint32_t>& all) {
        std::vector<std::optional<int>> result;
        for (const auto& record : records(all))
            result.push_back(record.desktop);
        return result;
    }

    /// The boot time the session file was written for.
    double sessionBootTime() const {
        const JSONValue document = JSONNode::parse(fileContents(kelvoFolder() / "session.json"));
        return JSONNode(document)["bootTime"].decode<double>();
    }

    /// Runs Kelvo on a desktop, sends one window to desktop 3, quits, and opens the same
    /// windows on a new desktop started with `serveArguments`; their numbers.
    std::vector<std::uint32_t> quitAndRestartTheMachine(std::vector<std::string> serveArguments) {
        const auto before = openWindows();
        startKelvo();
        EXPECT_TRUE(settled(before));
        sendLastToDesktopThree(before);
        EXPECT_EQ(kelvo().quit(), 0);
        EXPECT_TRUE(everyWindowOnADisplay());

        restartDesktop(std::move(serveArguments));
        const auto after = openWindows();
        // The session names windows by number; the new desktop must reuse the numbers, or the
        // scenario would prove nothing.
        EXPECT_EQ(after, before);
        return after;
    }
};

TEST_F(RelaunchTest, AfterARebootTheLastSessionIsNotRestored) {
    const auto all =
        quitAndRestartTheMachine({"--display", "1920x1080", "--boot-time", anotherBoot});
    auto& k = startKelvo();
    const auto earlier = k.waitForLog("session file is from an earlier boot - not restored");
    ASSERT_TRUE(earlier);
    const auto adopted = k.waitForLog(
        "adopted 3 existing window(s) at launch (0 restored from minimized), 0 re-read before "
        "adoption",
        *earlier);
    EXPECT_TRUE(adopted);
    for (const auto& message : k.logMessages())
        EXPECT_EQ(message.find("to the desktops and panes the last session left them in"),
                  std::string::npos)
            << message;

    // Every window starts on the active desktop, which is 1 again, tiled side by side.
    EXPECT_EQ(k.state().activeDesktop, 1);
    EXPECT_EQ(desktopsOf(all), (std::vector<std::optional<int>>{1, 1, 1}));
    ASSERT_TRUE(settled(all));
    EXPECT_TRUE(everyWindowOnADisplay());
    EXPECT_NE(k.state().description->find("parked=[]"), std::string::npos);
    // The session file now belongs to this boot.
    EXPECT_EQ(sessionBootTime(), std::stod(anotherBoot));
    EXPECT_EQ(k.quit(), 0);
}

TEST_F(RelaunchTest, OnANewDesktopOfTheSameBootTheLastSessionIsRestored) {
    const auto all = quitAndRestartTheMachine({});
    auto& k = startKelvo();
    EXPECT_TRUE(k.waitForLog(
        "restored 3 window(s) to the desktops and panes the last session left them in"));
    EXPECT_TRUE(eventuallyState(all, [&](const auto& r) { return desktopThreeShown(r, all); }));
    ASSERT_TRUE(settled(all));
    EXPECT_FALSE(everyWindowOnADisplay()) << "desktop 1's windows should be parked";
    for (const auto& message : k.logMessages())
        EXPECT_EQ(message.find("earlier boot"), std::string::npos) << message;
    EXPECT_EQ(k.quit(), 0);
    EXPECT_TRUE(everyWindowOnADisplay());
}

// Killed outright, Kelvo puts nothing back: the parked windows stay in the corner. Started
// again in the same boot it takes up the session, parked windows included, and its quit puts
// every one of them back on the display.
TEST_F(RelaunchTest, KilledWhileWindowsAreParkedThenRelaunchedAndQuitEveryWindowIsBack) {
    const auto all = openWindows();
    auto& first = startKelvo();
    ASSERT_TRUE(settled(all));
    sendLastToDesktopThree(all);

    first.process().signal(SIGKILL);
    EXPECT_EQ(first.process().waitForExit(), 128 + SIGKILL);
    EXPECT_FALSE(everyWindowOnADisplay()) << "nothing should have put the parked windows back";
    for (const auto& message : first.logMessages())
        EXPECT_EQ(message.find("every parked window put back"), std::string::npos) << message;

    auto& second = startKelvo();
    EXPECT_TRUE(second.waitForLog(
        "restored 3 window(s) to the desktops and panes the last session left them in"));
    // Desktop 3 shows again and desktop 1's windows, still in the corner, are parked anew.
    EXPECT_TRUE(eventuallyState(all, [&](const auto& r) { return desktopThreeShown(r, all); }));
    ASSERT_TRUE(settled(all));

    EXPECT_EQ(second.quit(), 0);
    EXPECT_TRUE(second.waitForLog("quitting - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
    // Wholly inside the display: the quit moved each one back inside the screen, from the
    // corner frame it had when the second run parked it.
    const CGRect display = displays().at(0).frame;
    for (const auto number : all) {
        const CGRect frame = window(number)->frame;
        EXPECT_TRUE(display.intersection(frame) == frame) << "window " << number;
    }
}

}  // namespace
}  // namespace kelvo::testing
