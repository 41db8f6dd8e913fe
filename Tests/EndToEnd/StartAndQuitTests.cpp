#include <signal.h>

#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/Simulator/Manager.h"

namespace kelvo::testing {
namespace {

// A newcomer starts Kelvo on a desktop that already has windows, looks at the result, and
// quits it in each of the ways there are; every way leaves every window on a display.
class StartAndQuitTest : public EndToEndTest {
  protected:
    /// Three windows of two applications, opened before Kelvo starts.
    std::vector<std::uint32_t> openThree() {
        return {open(notes, CGRect(120, 120, 700, 500), FixtureQuirk::plain, "Shopping list"),
                open(notes, CGRect(300, 260, 640, 480), FixtureQuirk::plain, "Ideas"),
                open(browser, CGRect(520, 180, 900, 640), FixtureQuirk::plain, "Start page")};
    }

    /// Sends the focused window to desktop 2 and shows desktop 2, so that the windows left on
    /// desktop 1 are parked; the numbers of the parked windows.
    std::vector<std::uint32_t> parkDesktopOne(const std::vector<std::uint32_t>& all) {
        EXPECT_TRUE(kelvo().command(Command::throwTo(2)).ok);
        EXPECT_TRUE(kelvo().command(Command::switchTo(2)).ok);
        std::vector<std::uint32_t> parked;
        EXPECT_TRUE(eventuallyState(all, [&](const KelvoTestReply& r) {
            parked.clear();
            for (const auto& w : *r.windows)
                if (w.desktop == 1) parked.push_back(w.id);
            return r.activeDesktop == 2 && !parked.empty() &&
                   r.description->find("parked=[]") == std::string::npos;
        }));
        EXPECT_TRUE(settled(all));
        EXPECT_FALSE(everyWindowOnADisplay()) << "desktop 1's windows should be parked";
        return parked;
    }
};

TEST_F(StartAndQuitTest, ExistingWindowsAreAdoptedAndTiledSideBySide) {
    const auto all = openThree();
    auto& k = startKelvo();
    EXPECT_TRUE(k.waitForLog(
        "adopted 3 existing window(s) at launch (0 restored from minimized), 0 re-read before "
        "adoption"));
    EXPECT_TRUE(k.waitForLog("displays at launch: #1 1920x1055 at (0,25)"));
    ASSERT_TRUE(settled(all));

    const auto screen = displays().at(0).visibleFrame;
    const auto placed = records(all);
    ASSERT_EQ(placed.size(), 3u);
    for (const auto& w : placed) {
        EXPECT_EQ(w.desktop, 1);
        EXPECT_FALSE(w.floating);
        ASSERT_TRUE(w.frame);
        const CGRect frame = w.frame->rect();
        EXPECT_TRUE(screen.intersection(frame) == frame)
            << "window " << w.id << " leaves the screen";
        EXPECT_TRUE(near(window(w.id)->frame, frame)) << "window " << w.id << " is not on its tile";
    }
    for (std::size_t i = 0; i < placed.size(); ++i)
        for (std::size_t j = i + 1; j < placed.size(); ++j)
            EXPECT_TRUE(placed[i].frame->rect().intersection(placed[j].frame->rect()).isEmpty())
                << placed[i].id << " and " << placed[j].id << " overlap";
    const auto state = k.state();
    EXPECT_NE(
        state.description->find("desktops: 1=[" + std::to_string(all[0]) + "(com.example.notes) " +
                                std::to_string(all[1]) + "(com.example.notes) " +
                                std::to_string(all[2]) + "(com.example.browser)]"),
        std::string::npos)
        << *state.description;
    EXPECT_TRUE(std::filesystem::exists(kelvoFolder() / "session.json"));
}

TEST_F(StartAndQuitTest, QuitPutsEveryParkedWindowBack) {
    const auto all = openThree();
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    parkDesktopOne(all);
    EXPECT_EQ(k.quit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(StartAndQuitTest, SigtermPutsEveryParkedWindowBackAndExitsWithStatusZero) {
    const auto all = openThree();
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    parkDesktopOne(all);
    k.process().signal(SIGTERM);
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("signal 15 - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(StartAndQuitTest, SigintEndsTheSameWay) {
    const auto all = openThree();
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    parkDesktopOne(all);
    k.process().signal(SIGINT);
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("signal 2 - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(StartAndQuitTest, AQuitAskedByTheDesktopEndsTheApplicationTheSameWay) {
    const auto all = openThree();
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    parkDesktopOne(all);
    sim::testing::Manager asker(desktop());
    EXPECT_TRUE(asker.connection->terminateApplication(k.pid()));
    EXPECT_EQ(k.process().waitForExit(), 0);
    EXPECT_TRUE(k.waitForLog("quitting - every parked window put back"));
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(StartAndQuitTest, ARestartBringsBackTheDesktopsOfTheLastSession) {
    const auto all = openThree();
    auto& first = startKelvo();
    ASSERT_TRUE(settled(all));
    const auto parked = parkDesktopOne(all);
    const auto before = records(all);
    EXPECT_EQ(first.quit(), 0);

    auto& second = startKelvo();
    EXPECT_TRUE(
        second.waitForLog(" window(s) to the desktops and panes the last session left "
                          "them in"));
    const auto after = records(all);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].desktop, before[i].desktop) << "window " << after[i].id;
    // The session also remembers that desktop 2 was showing.
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 2; }));
    EXPECT_TRUE(settled(all));
    EXPECT_EQ(second.quit(), 0);
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(StartAndQuitTest, ASecondInstanceInTestModeIsRefusedWithStatusThree) {
    auto& running = startKelvo();
    KelvoProcess::Options options;
    options.desktop = desktop().environment();
    options.testFolder = kelvoFolder() / "second";
    auto second = launchKelvo(options);
    EXPECT_EQ(second->process().waitForExit(), 3);
    EXPECT_EQ(second->standardError(), "kelvo: test mode refused — another Kelvo is running: " +
                                           std::filesystem::canonical(KELVO_APP_PROGRAM).string() +
                                           " (pid " + std::to_string(running.pid()) + ")\n");
    // Refused before anything of its own was touched.
    EXPECT_FALSE(std::filesystem::exists(*options.testFolder / "kelvo.log"));
    EXPECT_FALSE(std::filesystem::exists(*options.testFolder / "config.json"));
    EXPECT_TRUE(running.ping().ok);
}

TEST_F(StartAndQuitTest, WithoutADesktopKelvoExitsWithStatusFour) {
    for (const std::string& socket :
         {std::string("unset"), (kelvoFolder() / "nothing.sock").string()}) {
        KelvoProcess::Options options;
        if (socket != "unset") options.desktop = {{"KELVO_SIM_SOCKET", socket}};
        options.testFolder = kelvoFolder() / "alone";
        auto k = launchKelvo(options);
        EXPECT_EQ(k->process().waitForExit(), 4) << socket;
        const auto error = k->standardError();
        EXPECT_EQ(error.rfind("kelvo: no desktop to manage: ", 0), 0u) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
        EXPECT_EQ(k->process().readAll(), "") << socket;
    }
}

TEST_F(StartAndQuitTest, AnUnreadableConfigurationIsReportedAndTheDefaultsServe) {
    const auto all = openThree();
    writeConfig("{ this is not JSON");
    auto& k = startKelvo();
    const auto error = k.standardError();
    const std::string path = (kelvoFolder() / "config.json").string();
    EXPECT_EQ(error.rfind("kelvo: " + path + " could not be read (", 0), 0u) << error;
    const std::string tail = "); using defaults.\n";
    EXPECT_TRUE(error.size() > tail.size() &&
                error.compare(error.size() - tail.size(), tail.size(), tail) == 0)
        << error;
    EXPECT_TRUE(settled(all));
    // The defaults hold: the default shortcuts work.
    ASSERT_TRUE(key("alt+2"));
    EXPECT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 2; }));
}

}  // namespace
}  // namespace kelvo::testing
