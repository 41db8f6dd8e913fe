#include <signal.h>

#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/Simulator/ApplicationTree.h"

namespace kelvo::testing {
namespace {

constexpr const char* systemTerminal = "com.apple.Terminal";

// The new-terminal shortcut with a terminal installed as a bundle in the machine's
// "/Applications", whose executable is a fixture application in bundle mode.
class TerminalBundleTest : protected MachineRoot, public EndToEndTest {
  protected:
    TerminalBundleTest() : EndToEndTest({"--root", root.path().string()}) {
        ApplicationTree::install(
            root / "Applications", "Terminal.app",
            BundleContents{.bundleID = systemTerminal,
                           .name = "Terminal",
                           .executable = std::string("#!/bin/sh\nexec '") + KELVO_FIXTURE_PROGRAM +
                                         "' --bundle\n"});
    }

    bool eventuallyWindows(const std::string& bundleID, std::size_t count) {
        return eventually([&] { return windowsOf(bundleID).size() == count; });
    }
    void pressNewTerminal() {
        const auto mark = kelvo().logMessages().size();
        ASSERT_TRUE(key("alt+return"));
        ASSERT_TRUE(kelvo().waitForLog(std::string("newTerminal: ") + systemTerminal +
                                           " — its activation is Kelvo's own and will be consumed",
                                       mark));
    }
};

TEST_F(TerminalBundleTest, TheShortcutLaunchesTheTerminalThenSendsItCommandNOnceInFront) {
    open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();

    pressNewTerminal();
    ASSERT_TRUE(eventuallyWindows(systemTerminal, 1)) << "the terminal did not open a window";
    const int terminalPid = windowsOf(systemTerminal).at(0).pid;

    // With another application in front the terminal is brought forward first; the one
    // launched got no ⌘N of its own meanwhile.
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
    ASSERT_TRUE(eventually([&] { return frontApplication() == notes; }));
    EXPECT_EQ(windowsOf(systemTerminal).size(), 1u) << "the launched terminal was sent ⌘N";
    pressNewTerminal();
    ASSERT_TRUE(eventuallyWindows(systemTerminal, 2)) << "⌘N did not reach the terminal";
    EXPECT_EQ(windowsOf(notes).size(), 1u) << "⌘N reached the application that was in front";
    EXPECT_TRUE(eventually([&] { return frontApplication() == systemTerminal; }));

    // Already in front, it gets ⌘N at once.
    pressNewTerminal();
    EXPECT_TRUE(eventuallyWindows(systemTerminal, 3)) << "⌘N did not reach the front terminal";
    EXPECT_EQ(windowsOf(notes).size(), 1u);

    // A configured terminal that is not installed opens nothing, not even the one that is.
    ASSERT_EQ(kelvo().quit(), 0);
    writeConfig(R"({"terminalBundleID":"com.example.absent"})");
    startKelvo();
    const auto mark = kelvo().logMessages().size();
    ASSERT_TRUE(key("alt+return"));
    EXPECT_TRUE(kelvo().waitForLog("newTerminal: no terminal found to open", mark));
    EXPECT_EQ(windowsOf(systemTerminal).size(), 3u);
    EXPECT_EQ(desktop().pidsOf(systemTerminal), std::vector<pid_t>{terminalPid});

    // The desktop ends the process it started for the bundle.
    restartDesktop({"--root", root.path().string()});
    EXPECT_TRUE(eventually([&] { return ::kill(terminalPid, 0) != 0; }));
}

}  // namespace
}  // namespace kelvo::testing
