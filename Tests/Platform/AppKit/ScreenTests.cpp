#include <gtest/gtest.h>

#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSScreen.h"
#include "Support/Platform/AccessibilityTestSupport.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class ScreenTests : public DesktopFixture {};

TEST_F(ScreenTests, ScreensAreBottomLeftAgainstTopLeftDisplaysOfDifferentHeights) {
    // A taller display to the right of the 1440×900 menu-bar display, its top 200 points
    // higher.
    const auto side = desktop->addDisplay(CGRect(1440, -200, 1080, 1920));
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0]->frame(), CGRect(0, 0, 1440, 900));
    EXPECT_EQ(screens[0]->visibleFrame(), CGRect(0, 0, 1440, 875));
    // y = H - (top + height) = 900 - (-200 + 1920) = -820.
    EXPECT_EQ(screens[1]->frame(), CGRect(1440, -820, 1080, 1920));
    EXPECT_EQ(screens[1]->visibleFrame(), CGRect(1440, -820, 1080, 1895));
    const auto number =
        CFCast<CFNumber>(CFDictionaryGetValue(screens[1]->deviceDescription(), NSScreenNumber));
    ASSERT_TRUE(number);
    EXPECT_EQ(number->integerValue(), side);
    EXPECT_EQ(NSScreen::mainScreen()->frame(), screens[0]->frame());

    const auto displays = desktop->displays();
    EXPECT_EQ(displays[1].frame, CGRect(1440, -200, 1080, 1920));
    EXPECT_EQ(displays[1].visibleFrame, CGRect(1440, -175, 1080, 1895));

    // A window filling the side screen's visible frame reads top-left through Accessibility.
    const auto app = launch("com.example.editor", true);
    const auto tall = open(app, CGRect(1440, -175, 1080, 1895));
    EXPECT_EQ(frameOf(windowElement(app, tall)), CGRect(1440, -175, 1080, 1895));
}

TEST_F(ScreenTests, WithoutDisplaysThereAreNoScreens) {
    desktop->removeDisplay(desktop->displays().front().id);
    EXPECT_TRUE(NSScreen::screens().empty());
    EXPECT_EQ(NSScreen::mainScreen(), nullptr);
}

TEST_F(ScreenTests, ThePointerIsBottomLeftForTheFramework) {
    desktop->movePointer(CGPoint{100, 200});
    EXPECT_EQ(NSEvent::mouseLocation(), (CGPoint{100, 700}));
}

}  // namespace
}  // namespace kelvo
