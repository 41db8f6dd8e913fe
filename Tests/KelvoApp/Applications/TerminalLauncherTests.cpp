#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Applications/TerminalLauncher.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Support/Platform/InstalledApplicationsFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

constexpr const char* iTerm = "com.googlecode.iterm2";
constexpr const char* terminal = "com.apple.Terminal";

class TerminalLauncherTest : public InstalledApplicationsFixture {
  protected:
    void open(const std::optional<std::string>& configured = std::nullopt) {
        TerminalLauncher::open(
            configured, [this](const std::string& id) { expected.push_back(id); },
            [this](const std::string& line) { lines.push_back(line); });
    }
    /// A running terminal from its installed bundle.
    sim::Pid runTerminal(const std::string& bundleID, const std::string& fileName) {
        return launchFrom(bundle(tree.applications, fileName, bundleID), bundleID, "Terminal");
    }
    /// How many ⌘N key downs reached the application.
    int commandNs(sim::Pid pid) const {
        int count = 0;
        for (const auto& event : desktop->receivedInput(pid)) {
            if (event.type == sim::inputKeyDown && event.keyCode == 45 &&
                event.flags == sim::Desktop::commandFlag)
                ++count;
        }
        return count;
    }
    std::size_t activationObservers() const {
        return NSWorkspace::sharedWorkspace().notificationCenter().observerCount();
    }

    std::vector<std::string> expected;
    std::vector<std::string> lines;
};

TEST_F(TerminalLauncherTest, TheProbeOrderIsFixed) {
    EXPECT_THAT(TerminalLauncher::probeOrder(),
                ElementsAre("net.kovidgoyal.kitty", iTerm, "dev.warp.Warp-Stable",
                            "com.github.wez.wezterm", terminal));
}

TEST_F(TerminalLauncherTest, WithNothingConfiguredTheFirstInstalledOfTheListIsLaunched) {
    bundle(tree.systemApplications / "Utilities", "Terminal.app", terminal);
    bundle(tree.applications, "iTerm.app", iTerm);
    open();
    EXPECT_THAT(expected, ElementsAre(iTerm));
    EXPECT_THAT(lines, ElementsAre(std::string("newTerminal: ") + iTerm +
                                   " — its activation is Kelvo's own and will be consumed"));
    const auto front = desktop->frontmost();
    ASSERT_TRUE(front);
    EXPECT_EQ(desktop->application(*front)->bundleID, iTerm);
    settle();
    clock.advance(1);
    EXPECT_EQ(commandNs(*front), 0);  // a launched terminal opens its own window
}

TEST_F(TerminalLauncherTest, AConfiguredTerminalThatIsNotInstalledFindsNothing) {
    bundle(tree.applications, "Terminal.app", terminal);
    open("com.example.missing");
    EXPECT_TRUE(expected.empty());
    EXPECT_THAT(lines, ElementsAre("newTerminal: no terminal found to open"));
    EXPECT_EQ(desktop->frontmost(), std::nullopt);
}

TEST_F(TerminalLauncherTest, NoKnownTerminalFindsNothing) {
    open();
    EXPECT_THAT(lines, ElementsAre("newTerminal: no terminal found to open"));
    EXPECT_TRUE(expected.empty());
}

TEST_F(TerminalLauncherTest, AnActiveTerminalGetsCommandNAtOnce) {
    const auto pid = runTerminal(terminal, "Terminal.app");
    desktop->activate(pid);
    const auto observers = activationObservers();
    open();
    EXPECT_EQ(commandNs(pid), 1);
    EXPECT_EQ(activationObservers(), observers);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(TerminalLauncherTest, ABackgroundTerminalGetsCommandNOnceWhenItComesForward) {
    const auto pid = runTerminal(terminal, "Terminal.app");
    const auto other = launch("com.example.editor", true);
    const auto observers = activationObservers();
    open(terminal);
    settle();
    EXPECT_EQ(desktop->frontmost(), pid);
    EXPECT_EQ(commandNs(pid), 1);  // well before the deadline
    EXPECT_EQ(activationObservers(), observers);
    clock.advance(TerminalLauncher::activationDeadline + 0.1);
    EXPECT_EQ(commandNs(pid), 1);  // the deadline finds the work done
    EXPECT_EQ(commandNs(other), 0);
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(TerminalLauncherTest, ATerminalThatDoesNotComeForwardGetsNoKeystroke) {
    const auto pid = runTerminal(terminal, "Terminal.app");
    const auto other = launch("com.example.editor", true);
    desktop->setDeclinesActivation(pid, true);
    open();
    settle();
    desktop->activate(launch("com.example.viewer"));  // someone else comes forward meanwhile
    settle();
    EXPECT_EQ(lines.size(), 1u);
    clock.advance(TerminalLauncher::activationDeadline);
    EXPECT_EQ(commandNs(pid), 0);
    EXPECT_EQ(commandNs(other), 0);
    EXPECT_THAT(lines, ::testing::Contains(std::string("newTerminal: ") + terminal +
                                           " did not come to the front; not sending ⌘N to "
                                           "whatever did"));
    EXPECT_EQ(clock.pendingCount(), 0u);
}

}  // namespace
}  // namespace kelvo
