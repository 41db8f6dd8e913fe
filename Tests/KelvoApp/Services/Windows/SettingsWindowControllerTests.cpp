// The settings window on an in-process desktop and the manual clock: how it is built and
// sized, that it is kept when closed, the application's place in the Dock while it is open,
// and the recording and pending save it ends when it closes or loses the keys.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Windows/SettingsWindowController.h"
#include "KelvoApp/Views/Settings/PaletteField.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/KelvoApp/FakeAppPlatform.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

class SettingsWindowControllerTest : public DesktopFixture {
  protected:
    SettingsWindowControllerTest() {
        controller.presence = &presence;
        controller.model.setHotkeysSuspended = [this](bool on) {
            hotkeys.push_back(on ? "suspend" : "resume");
        };
    }
    ~SettingsWindowControllerTest() override { settle(); }

    testing::TemporaryFolder home;
    testing::ScopedEnvironment homeVariable{"HOME", home.path().string()};
    ConfigStore store{home / "config.json", ConfigStore::mainQueueScheduler()};
    FakeAppPlatform platform;
    AppPresence presence{platform};
    std::vector<std::string> hotkeys;
    SettingsWindowController controller{store, home / "kelvo.log"};
};

TEST(SettingsWindowHeight, FollowsTheMainScreenWithinItsBounds) {
    EXPECT_EQ(SettingsWindowController::height(500), 520);
    EXPECT_EQ(SettingsWindowController::height(700), 660);
    EXPECT_EQ(SettingsWindowController::height(1000), 820);
    // Both ends of 520 … 820 and one point past each.
    EXPECT_EQ(SettingsWindowController::height(559), 520);
    EXPECT_EQ(SettingsWindowController::height(560), 520);
    EXPECT_EQ(SettingsWindowController::height(561), 521);
    EXPECT_EQ(SettingsWindowController::height(859), 819);
    EXPECT_EQ(SettingsWindowController::height(860), 820);
    EXPECT_EQ(SettingsWindowController::height(861), 820);
    EXPECT_EQ(SettingsWindowController::height(std::nullopt), 780);
}

TEST_F(SettingsWindowControllerTest, TheFirstShowBuildsTheWindowAndLaterOnesReuseIt) {
    EXPECT_FALSE(controller.window);
    controller.show();
    settle();
    ASSERT_TRUE(controller.window);
    NSWindow& window = *controller.window;
    EXPECT_EQ(window.title(), "Kelvo Settings");
    EXPECT_EQ(window.styleMask(), 0x800FU);
    EXPECT_EQ(window.level(), 4);
    EXPECT_EQ(window.frame().width(), 696);
    EXPECT_EQ(window.frame().height(), 820) << "875 visible points less 40, at most 820";
    EXPECT_EQ(window.minSize(), CGSize(656, 520));
    EXPECT_EQ(window.frame().midX(), mainDisplay.midX()) << "centred on its screen";
    EXPECT_EQ(controller.model.window.lock(), controller.window);
    EXPECT_EQ(NSApplication::sharedApplication().keyWindow(), &window);

    const long number = window.windowNumber();
    controller.model.setSection(SettingsTab::system);
    window.setFrameOrigin(CGPoint{40, 60});
    window.performClose(nullptr);
    settle();
    EXPECT_FALSE(window.isVisible());
    controller.show();
    EXPECT_EQ(controller.window->windowNumber(), number);
    EXPECT_EQ(controller.window->frame().origin, (CGPoint{40, 60})) << "where it was left";
    EXPECT_EQ(controller.model.section(), SettingsTab::system);
}

// ⌘ with the digit of a tab or with K, pressed in the window, and nothing more: a modifier more
// or fewer, and the digits on either side of the seven tabs, do nothing.
TEST_F(SettingsWindowControllerTest, TheWindowsOwnKeysTakeCommandAloneAndOnlyTheTabsDigits) {
    constexpr std::uint16_t keyK = 40, zero = 29, one = 18, two = 19, seven = 26, eight = 28;
    constexpr std::uint64_t command = NSEventModifierFlagCommand, shift = NSEventModifierFlagShift,
                            option = NSEventModifierFlagOption,
                            control = NSEventModifierFlagControl;
    controller.show();
    settle();
    SettingsModel& model = controller.model;
    model.setSection(SettingsTab::focus);
    settle();
    const auto press = [&](std::uint16_t key, std::uint64_t flags) {
        desktop->pressKey(key, flags);
        settle();
    };
    for (const std::uint16_t key : {keyK, two}) {
        for (const std::uint64_t flags :
             {command | shift, command | option, command | control, std::uint64_t{0}, option}) {
            press(key, flags);
            EXPECT_FALSE(model.searchOpen.get()) << key << " " << flags;
            EXPECT_EQ(model.section(), SettingsTab::focus) << key << " " << flags;
        }
    }
    for (const std::uint16_t digit : {zero, eight}) {
        press(digit, command);
        EXPECT_EQ(model.section(), SettingsTab::focus) << digit;
    }
    press(seven, command);
    EXPECT_EQ(model.section(), SettingsTab::about);
    press(one, command);
    EXPECT_EQ(model.section(), SettingsTab::general);
    press(keyK, command);
    EXPECT_TRUE(model.searchOpen.get());
}

TEST_F(SettingsWindowControllerTest, ShowingAnOpenWindowAgainStillLeavesTheDockWhenItCloses) {
    int closes = 0;
    controller.onClose = [&closes] { ++closes; };
    controller.show();
    controller.show();
    EXPECT_EQ(presence.openWindows(), 1);
    controller.close();
    EXPECT_EQ(presence.openWindows(), 0);
    EXPECT_THAT(platform.requests,
                ElementsAre("policy(regular)", "setMainMenu", "activateSelf", "policy(accessory)"));
    EXPECT_EQ(closes, 1);
    controller.show();
    EXPECT_EQ(presence.openWindows(), 1);
}

TEST_F(SettingsWindowControllerTest, AClickOnItsCloseButtonEndsARecordingAndWritesThePendingSave) {
    int closes = 0;
    controller.onClose = [&closes] { ++closes; };
    controller.show();
    settle();
    controller.model.updateConfig([](Config& next) { next.desktopCount = 5; });
    controller.model.beginRecording(Shortcut::focusLeft);
    EXPECT_EQ(store.writeCount(), 0);
    const auto number = static_cast<sim::WindowNumber>(controller.window->windowNumber());
    const auto buttons = desktop->titleBarButtons(number);
    ASSERT_EQ(buttons.size(), 3u);
    ASSERT_EQ(buttons[0].kind, sim::TitleBarButton::Kind::close);
    // The style is titled, closable, miniaturizable and resizable: all three work.
    EXPECT_TRUE(buttons[0].enabled && buttons[1].enabled && buttons[2].enabled);
    const CGPoint close{buttons[0].frame.midX(), buttons[0].frame.midY()};
    desktop->mouseDown(close);
    desktop->mouseUp(close);
    settle();
    EXPECT_FALSE(controller.window->isVisible());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(presence.openWindows(), 0);
    EXPECT_FALSE(controller.model.recording->has_value());
    EXPECT_EQ(std::count(hotkeys.begin(), hotkeys.end(), "suspend"), 1);
    EXPECT_EQ(hotkeys.back(), "resume");
    EXPECT_EQ(store.writeCount(), 1) << "the pending save is written as the window closes";
}

TEST_F(SettingsWindowControllerTest, SwitchingToAnotherApplicationEndsARecording) {
    controller.show();
    settle();
    controller.model.beginRecording(Shortcut::focusLeft);
    launch("com.example.other", true);
    settle();
    EXPECT_FALSE(controller.isKey());
    EXPECT_FALSE(controller.model.recording->has_value());
    EXPECT_THAT(hotkeys, ElementsAre("suspend", "resume"));
}

TEST_F(SettingsWindowControllerTest, EveryShowRefreshesTheRunningApplicationsAndLoginItem) {
    launch("com.example.editor");
    controller.show();
    ASSERT_EQ(controller.model.runningApps->size(), 1U);
    EXPECT_EQ(controller.model.runningApps->front().bundleID, "com.example.editor");
    EXPECT_EQ(controller.model.loginItemStatus.get(), SMAppService::Status::notRegistered);
}

/// The first view under `view` of type T, depth first.
template <typename T>
T* findView(const NSView& view) {
    for (const NSViewRef& sub : view.subviews()) {
        if (auto* found = dynamic_cast<T*>(sub.get())) return found;
        if (T* found = findView<T>(*sub)) return found;
    }
    return nullptr;
}

TEST_F(SettingsWindowControllerTest, TheSearchFieldsPlaceholderLosesAtMostItsLastLetterToItsHint) {
    controller.show();
    settle();
    SearchTextField* field = findView<SearchTextField>(*controller.window->contentView());
    ASSERT_TRUE(field);
    CGRecordingContext context(field->bounds().size);
    NSGraphicsContext graphics(context, false);
    NSGraphicsContextScope scope(graphics);
    field->drawRect(field->bounds());
    const auto texts = context.operations(CGDrawOperationKind::text);
    ASSERT_EQ(texts.size(), 1U);
    // The sidebar leaves the field some 100 points beside the magnifier and the ⌘K hint, less
    // than the whole placeholder takes even in the platform's own font; a wider stand-in font
    // cut it to "Search set…".
    EXPECT_THAT(texts[0].text->text, ::testing::StartsWith("Search setting"))
        << "in a field " << field->bounds().width() << " wide";
}

}  // namespace
}  // namespace kelvo
