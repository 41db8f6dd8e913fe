#include <gtest/gtest.h>

#include "Base/Foundation/NSThread.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Services/Sysctl.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class WorkspaceTests : public DesktopFixture {
  protected:
    ~WorkspaceTests() override {
        for (const auto& token : tokens)
            NSWorkspace::sharedWorkspace().notificationCenter().removeObserver(token);
    }
    /// Records each notification's name, application and whether it ran at once.
    void listen(const NSNotificationName& name, const DispatchQueue* queue = nullptr) {
        tokens.push_back(NSWorkspace::sharedWorkspace().notificationCenter().addObserver(
            name, nullptr, queue, [this](const NSNotification& notification) {
                const auto app = NSWorkspace::applicationOf(notification);
                heard.push_back(
                    {notification.name, app ? app->processIdentifier() : 0, insideCall});
            }));
    }

    struct Heard {
        std::string name;
        pid_t pid = 0;
        bool duringTheChange = false;
        bool operator==(const Heard&) const = default;
    };
    std::vector<NSNotificationToken> tokens;
    std::vector<Heard> heard;
    bool insideCall = false;
};

TEST_F(WorkspaceTests, RunningApplicationsAreListedInLaunchOrderWithTheirProperties) {
    const auto editor = launch("com.example.editor", true);
    sim::ApplicationSpec helper;
    helper.bundleID = std::nullopt;
    helper.name = "helper";
    helper.executablePath = "/usr/libexec/helper";
    helper.activationPolicy = sim::ActivationPolicy::prohibited;
    const auto background = desktop->launch(helper);

    const auto running = NSWorkspace::sharedWorkspace().runningApplications();
    ASSERT_EQ(running.size(), 3u);
    EXPECT_EQ(running[0]->processIdentifier(), ownPid);
    EXPECT_EQ(running[0]->bundleIdentifier(), ownBundleID);
    EXPECT_EQ(running[0]->activationPolicy(), NSApplicationActivationPolicyAccessory);
    EXPECT_EQ(running[1]->processIdentifier(), editor);
    EXPECT_TRUE(running[1]->isActive());
    EXPECT_EQ(running[2]->processIdentifier(), background);
    EXPECT_EQ(running[2]->bundleIdentifier(), std::nullopt);
    EXPECT_EQ(running[2]->executableURL(), "/usr/libexec/helper");
    EXPECT_EQ(running[2]->activationPolicy(), NSApplicationActivationPolicyProhibited);
    EXPECT_EQ(NSWorkspace::sharedWorkspace().frontmostApplication()->processIdentifier(), editor);
    EXPECT_EQ(NSRunningApplication::currentApplication()->processIdentifier(), ownPid);
    EXPECT_EQ(NSRunningApplication::runningApplicationWithProcessIdentifier(999999), nullptr);
}

TEST_F(WorkspaceTests, ATerminatedApplicationLeavesTheListUnlessItStaysListed) {
    const auto first = launch("com.example.first");
    const auto second = launch("com.example.second");
    const auto kept = NSRunningApplication::runningApplicationWithProcessIdentifier(first);
    desktop->terminate(first);
    desktop->terminate(second, true);
    EXPECT_TRUE(kept->isTerminated());
    const auto running = NSWorkspace::sharedWorkspace().runningApplications();
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[1]->processIdentifier(), second);
    EXPECT_TRUE(running[1]->isTerminated());
}

TEST_F(WorkspaceTests, LaunchTerminateAndActivateArriveOnThePostingThread) {
    listen(NSWorkspaceDidLaunchApplicationNotification);
    listen(NSWorkspaceDidActivateApplicationNotification);
    listen(NSWorkspaceDidTerminateApplicationNotification);
    insideCall = true;
    const auto app = launch("com.example.editor");
    desktop->activate(app);
    desktop->terminate(app);
    insideCall = false;
    EXPECT_EQ(heard, (std::vector<Heard>{
                         {NSWorkspaceDidLaunchApplicationNotification, app, true},
                         {NSWorkspaceDidActivateApplicationNotification, app, true},
                         {NSWorkspaceDidTerminateApplicationNotification, app, true},
                     }));
}

TEST_F(WorkspaceTests, HideAndUnhideArriveOnTheMainThread) {
    listen(NSWorkspaceDidHideApplicationNotification);
    listen(NSWorkspaceDidUnhideApplicationNotification, &DispatchQueue::main());
    const auto app = launch("com.example.editor", true);
    const auto running = NSRunningApplication::runningApplicationWithProcessIdentifier(app);
    insideCall = true;
    EXPECT_TRUE(running->hide());
    EXPECT_TRUE(running->isHidden());
    EXPECT_TRUE(running->unhide());
    insideCall = false;
    EXPECT_TRUE(heard.empty());
    settle();
    EXPECT_EQ(heard, (std::vector<Heard>{
                         {NSWorkspaceDidHideApplicationNotification, app, false},
                         {NSWorkspaceDidUnhideApplicationNotification, app, false},
                     }));
}

TEST_F(WorkspaceTests, HidingTheFrontApplicationBringsThePreviousOneForward) {
    const auto first = launch("com.example.first", true);
    const auto second = launch("com.example.second", true);
    desktop->hide(second);
    EXPECT_EQ(desktop->frontmost(), first);
    NSRunningApplication(second).activateWithOptions(NSApplicationActivateAllWindows |
                                                     NSApplicationActivateIgnoringOtherApps);
    EXPECT_EQ(desktop->frontmost(), second);
    EXPECT_FALSE(desktop->application(second)->hidden);
}

TEST_F(WorkspaceTests, InstalledApplicationsAreFoundAndOpened) {
    desktop->install({"com.example.terminal", "Terminal", "/Applications/Terminal.app"});
    auto& workspace = NSWorkspace::sharedWorkspace();
    EXPECT_EQ(workspace.URLForApplicationWithBundleIdentifier("com.example.terminal"),
              "/Applications/Terminal.app");
    EXPECT_EQ(workspace.URLForApplicationWithBundleIdentifier("com.example.none"), std::nullopt);

    NSRunningApplicationRef opened;
    workspace.openApplicationAtURL(
        "/Applications/Terminal.app", {},
        [&](NSRunningApplicationRef app, std::optional<std::string>) { opened = app; });
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->bundleIdentifier(), "com.example.terminal");
    EXPECT_EQ(opened->bundleURL(), "/Applications/Terminal.app");
    EXPECT_TRUE(opened->isActive());
    // A second open reopens the running one.
    workspace.openApplicationAtURL("/Applications/Terminal.app", {});
    EXPECT_EQ(NSRunningApplication::runningApplicationsWithBundleIdentifier("com.example.terminal")
                  .size(),
              1u);
    std::optional<std::string> error;
    workspace.openApplicationAtURL(
        "/Applications/None.app", {},
        [&](NSRunningApplicationRef, std::optional<std::string> failure) { error = failure; });
    EXPECT_TRUE(error);
}

TEST_F(WorkspaceTests, TheBootTimeStaysForTheDesktopsLife) {
    int name[2] = {CTL_KERN, KERN_BOOTTIME};
    timeval boot{};
    std::size_t size = sizeof boot;
    ASSERT_EQ(sysctl(name, 2, &boot, &size, nullptr, 0), 0);
    // The manual clock starts one second after boot.
    EXPECT_EQ(boot.tv_sec, static_cast<time_t>(ManualClock::startSecondsSince1970) - 1);
    clock.advance(30);
    timeval later{};
    ASSERT_EQ(sysctl(name, 2, &later, &size, nullptr, 0), 0);
    EXPECT_EQ(later.tv_sec, boot.tv_sec);

    desktop->setBootTime(1700000000);
    ASSERT_EQ(sysctl(name, 2, &later, &size, nullptr, 0), 0);
    EXPECT_EQ(later.tv_sec, 1700000000);
    int unknown[2] = {CTL_KERN, 99};
    EXPECT_EQ(sysctl(unknown, 2, &later, &size, nullptr, 0), -1);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST_F(WorkspaceTests, AnApplicationLaunchedWithWindowsListsThemWhenItsLaunchIsAnnounced) {
    std::size_t seen = 0;
    tokens.push_back(NSWorkspace::sharedWorkspace().notificationCenter().addObserver(
        NSWorkspaceDidLaunchApplicationNotification, nullptr, nullptr,
        [&](const NSNotification& notification) {
            const auto app = NSWorkspace::applicationOf(notification);
            const auto reply =
                desktop->copyAttribute(desktop->applicationElement(app->processIdentifier()),
                                       "AXWindows", sim::Desktop::defaultMessagingTimeout);
            seen = std::get<std::vector<sim::ElementID>>(reply.value).size();
        }));
    sim::ApplicationSpec spec;
    spec.bundleID = "com.example.editor";
    desktop->launch(spec, {sim::WindowSpec{}, sim::WindowSpec{}});
    EXPECT_EQ(seen, 2u);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST_F(WorkspaceTests, AClientThatGoesAwayIsAProcessThatEnded) {
    listen(NSWorkspaceDidTerminateApplicationNotification);
    sim::Pid fixturePid = 0;
    {
        auto other = std::make_shared<sim::InProcessConnection>(desktop);
        sim::ApplicationSpec spec;
        spec.bundleID = "com.example.fixture";
        fixturePid = other->registerClient(spec);
        other->createOwnWindow({});
        EXPECT_NE(fixturePid, ownPid);
    }
    EXPECT_TRUE(desktop->application(fixturePid)->terminated);
    EXPECT_TRUE(desktop->windows().empty());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].pid, fixturePid);
}

}  // namespace
}  // namespace kelvo
