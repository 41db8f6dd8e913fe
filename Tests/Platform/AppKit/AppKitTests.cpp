#include <gtest/gtest.h>

#include "Platform/AppKit/NSAlert.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Quartz/CGWindow.h"
#include "Platform/QuartzCore/CATransaction.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class AppKitTests : public DesktopFixture {
  protected:
    ~AppKitTests() override {
        for (const auto& token : tokens)
            NSNotificationCenter::defaultCenter().removeObserver(token);
    }
    /// Counts the notifications of that name in `heard`, delivered on the main queue.
    void count(const NSNotificationName& name) {
        tokens.push_back(NSNotificationCenter::defaultCenter().addObserver(
            name, nullptr, &DispatchQueue::main(), [this](const NSNotification&) { ++heard; }));
    }

    std::vector<NSNotificationToken> tokens;
    int heard = 0;
};

TEST_F(AppKitTests, APanelIsAWindowOfTheDesktopAtItsLevelWithItsLayer) {
    NSPanel panel(CGRect(), NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false);
    panel.setLevel(NSFloatingWindowLevel);
    panel.setOpaque(false);
    panel.setIgnoresMouseEvents(true);
    panel.contentView()->setWantsLayer(true);
    const auto& layer = panel.contentView()->layer();
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    layer->setBorderWidth(2);
    layer->setBorderColor(NSColor::colorWithSRGBRed(1, 0.5, 0, 1)->CGColor());
    layer->setCornerRadius(11);
    layer->setOpacity(0.35f);
    CATransaction::commit();

    ASSERT_GT(panel.windowNumber(), 0);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, 0)->values().empty());

    // A window at (100, 50) 800×600 in Accessibility terms, outset by one point.
    panel.setFrame(CGRect(99, 900 - 50 - 600 - 1, 802, 602), false);
    panel.orderFrontRegardless();
    EXPECT_TRUE(panel.isVisible());
    const auto rows = desktop->windowList(sim::windowListOnScreenOnly, 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].number, static_cast<sim::WindowNumber>(panel.windowNumber()));
    EXPECT_EQ(rows[0].layer, NSFloatingWindowLevel);
    EXPECT_EQ(rows[0].ownerPID, ownPid);
    EXPECT_EQ(rows[0].bounds, CGRect(99, 49, 802, 602));
    const auto look = desktop->ownWindow(rows[0].number);
    ASSERT_TRUE(look);
    EXPECT_EQ(look->borderWidth, 2);
    EXPECT_EQ(look->borderColour, (sim::Colour{1, 0.5, 0, 1}));
    EXPECT_EQ(look->cornerRadius, 11);
    EXPECT_FLOAT_EQ(look->opacity, 0.35);
    EXPECT_TRUE(look->ignoresMouseEvents);

    panel.orderOut(nullptr);
    EXPECT_TRUE(desktop->windowList(sim::windowListOnScreenOnly, 0).empty());
}

TEST_F(AppKitTests, OwnWindowsStayOutOfTheAccessibilityWindowList) {
    NSWindow window(CGRect(0, 0, 400, 300), NSWindowStyleMaskTitled, NSBackingStoreBuffered, false);
    window.makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(window.isKeyWindow());
    EXPECT_EQ(NSApplication::sharedApplication().keyWindow(), &window);
    const auto windows = desktop->copyAttribute(desktop->applicationElement(ownPid), "AXWindows",
                                                sim::Desktop::defaultMessagingTimeout);
    EXPECT_TRUE(std::get<std::vector<sim::ElementID>>(windows.value).empty());
    window.orderOut(nullptr);
    EXPECT_FALSE(window.isKeyWindow());
}

TEST_F(AppKitTests, ABorderlessPanelNeverBecomesKey) {
    NSPanel panel(CGRect(0, 0, 10, 10), NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered,
                  false);
    panel.makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(panel.isKeyWindow());
}

TEST_F(AppKitTests, AClosedWindowLeavesTheDesktop) {
    long number = 0;
    {
        NSWindow window(CGRect(0, 0, 400, 300), NSWindowStyleMaskTitled, NSBackingStoreBuffered,
                        false);
        number = window.windowNumber();
        window.orderFrontRegardless();
    }
    EXPECT_FALSE(desktop->window(static_cast<sim::WindowNumber>(number)));
}

TEST_F(AppKitTests, TheActivationPolicyReachesTheWorkspace) {
    auto& app = NSApplication::sharedApplication();
    EXPECT_TRUE(app.setActivationPolicy(NSApplicationActivationPolicyRegular));
    EXPECT_EQ(desktop->application(ownPid)->activationPolicy, sim::ActivationPolicy::regular);
    EXPECT_EQ(app.activationPolicy(), NSApplicationActivationPolicyRegular);
    app.activateIgnoringOtherApps(true);
    EXPECT_TRUE(app.isActive());
    app.setActivationPolicy(NSApplicationActivationPolicyAccessory);
    EXPECT_EQ(NSRunningApplication::currentApplication()->activationPolicy(),
              NSApplicationActivationPolicyAccessory);
}

TEST_F(AppKitTests, TerminatingAnnouncesItselfThenEnds) {
    std::vector<std::string> order;
    const auto token = NSNotificationCenter::defaultCenter().addObserver(
        NSApplicationWillTerminateNotification, nullptr, nullptr,
        [&](const NSNotification&) { order.push_back("will terminate"); });
    tokens.push_back(token);
    NSApplication::sharedApplication().terminate(nullptr);
    EXPECT_EQ(order, (std::vector<std::string>{"will terminate"}));
    EXPECT_EQ(terminations(), 1);
}

TEST_F(AppKitTests, AQuitFromOutsideTerminatesOnTheMainQueue) {
    NSApplication::sharedApplication();
    EXPECT_TRUE(desktop->terminateApplication(ownPid));
    EXPECT_EQ(terminations(), 0);
    settle();
    EXPECT_EQ(terminations(), 1);
    EXPECT_FALSE(desktop->application(ownPid)->terminated);  // the process ends itself
}

TEST_F(AppKitTests, RunReturnsWhenStopped) {
    auto& app = NSApplication::sharedApplication();
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 2, [&] { app.stop(nullptr); });
    app.run();
    EXPECT_FALSE(app.isRunning());
    EXPECT_EQ(DispatchTime::now(), ManualClock::startTime + 2);
}

TEST_F(AppKitTests, ChangedScreensAreAnnouncedOnTheMainQueue) {
    NSApplication::sharedApplication();
    count(NSApplicationDidChangeScreenParametersNotification);
    desktop->addDisplay(CGRect(1440, 0, 1920, 1080));
    EXPECT_EQ(heard, 0);
    settle();
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(NSScreen::screens().size(), 2u);
}

TEST_F(AppKitTests, AlertsAreAnsweredByTheDesktopWithTheButtonsPressedThere) {
    desktop->answerAlerts({"Quit", "Later"});
    NSAlert first;
    first.messageText = "Kelvo needs Accessibility access";
    first.informativeText = "Click Continue.";
    first.addButtonWithTitle("Continue");
    first.addButtonWithTitle("Quit");
    EXPECT_EQ(first.runModal(), NSAlertSecondButtonReturn);
    // A button the alert does not have: nothing is pressed.
    NSAlert second;
    second.messageText = "Waiting";
    second.addButtonWithTitle("Done");
    EXPECT_EQ(second.runModal(), NSModalResponseAbort);
    // Nothing scripted: the first button.
    EXPECT_EQ(first.runModal(), NSAlertFirstButtonReturn);
    const auto shown = desktop->alerts();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0],
              (sim::AlertRecord{
                  ownPid,
                  {"Kelvo needs Accessibility access", "Click Continue.", {"Continue", "Quit"}},
                  NSAlertSecondButtonReturn}));
    EXPECT_EQ(shown[1].answer, NSModalResponseAbort);
    EXPECT_EQ(shown[2].answer, NSAlertFirstButtonReturn);
}

TEST_F(AppKitTests, WithoutADesktopNoButtonIsPressed) {
    sim::SharedConnection::install(nullptr);
    NSAlert alert;
    alert.addButtonWithTitle("OK");
    EXPECT_EQ(alert.runModal(), NSModalResponseAbort);
    sim::SharedConnection::install(connection);
}

TEST_F(AppKitTests, AMainMenuIsKeptAsGiven) {
    auto& app = NSApplication::sharedApplication();
    auto menu = std::make_shared<NSMenu>();
    auto appMenu = std::make_shared<NSMenu>("Kelvo");
    appMenu->addItemWithTitle("Quit Kelvo", "terminate:", "q");
    appMenu->addItem(NSMenuItem::separatorItem());
    auto item = std::make_shared<NSMenuItem>("Kelvo", "", "");
    item->setSubmenu(appMenu);
    menu->addItem(item);
    app.setMainMenu(menu);
    ASSERT_TRUE(app.mainMenu());
    EXPECT_EQ(app.mainMenu()->itemArray()[0]->submenu()->itemArray()[0]->action(), "terminate:");
    EXPECT_TRUE(app.mainMenu()->itemArray()[0]->submenu()->itemArray()[1]->isSeparatorItem());
    app.setMainMenu(nullptr);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST_F(AppKitTests, AClickThroughPanelLetsTheClickReachTheWindowBeneath) {
    const auto app = launch("com.example.editor");
    const auto window = open(app, CGRect(100, 100, 400, 300));
    const auto other = launch("com.example.other", true);
    NSPanel border(CGRect(0, 0, 1440, 900), NSWindowStyleMaskNonactivatingPanel,
                   NSBackingStoreBuffered, false);
    border.setLevel(NSFloatingWindowLevel);
    border.setIgnoresMouseEvents(true);
    border.orderFrontRegardless();
    desktop->mouseDown(CGPoint{200, 200});
    EXPECT_EQ(desktop->frontmost(), app);
    EXPECT_EQ(desktop->focusedWindow(app), window);
    EXPECT_EQ(desktop->receivedInput(app).size(), 1u);
    (void)other;
}

}  // namespace
}  // namespace kelvo
