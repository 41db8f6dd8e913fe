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

    // With another application in front the terminal is brought forward first.
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(notes))}).status, 0);
    pressNewTerminal();
    ASSERT_TRUE(eventuallyWindows(systemTerminal, 2)) << "⌘N did not reach the terminal";
    EXPECT_EQ(windowsOf(notes).size(), 1u) << "⌘N reached the application that was in front";

    // The desktop ends the process it started for the bundle.
    restartDesktop({"--root", root.path().string()});
    EXPECT_TRUE(eventually([&] { return ::kill(terminalPid, 0) != 0; }));
}

}  // namespace
}  // namespace kelvo::testing
