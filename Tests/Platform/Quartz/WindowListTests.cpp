#include <gtest/gtest.h>

#include "Platform/Quartz/CGWindow.h"
#include "Support/Platform/AccessibilityTestSupport.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class WindowListTests : public DesktopFixture {};

TEST_F(WindowListTests, RowsComeFrontToBackWithHigherLayersFirst) {
    const auto app = launch("com.example.editor", true);
    const auto back = open(app, CGRect(0, 30, 300, 200));
    const auto front = open(app, CGRect(50, 60, 300, 200));
    sim::WindowSpec floating;
    floating.layer = 3;
    const auto panel = open(app, CGRect(10, 10, 50, 50), floating);
    sim::WindowSpec desktopIcon;
    desktopIcon.layer = -2147483603;
    open(app, CGRect(0, 0, 1440, 900), desktopIcon);
    const auto minimized = open(app, CGRect(0, 30, 300, 200));
    desktop->setMinimized(minimized, true);
    desktop->focusWindow(back);  // raised above `front`

    const auto rows = CGWindowListCopyWindowInfo(
        kCGWindowListOptionOnScreenOnly | kCGWindowListExcludeDesktopElements, kCGNullWindowID);
    ASSERT_EQ(CFArrayGetCount(rows), 3);
    std::vector<std::int64_t> numbers;
    std::vector<std::int64_t> layers;
    for (const auto& row : rows->values()) {
        const auto dictionary = CFCast<CFDictionary>(row);
        numbers.push_back(
            CFCast<CFNumber>(CFDictionaryGetValue(dictionary, kCGWindowNumber))->integerValue());
        layers.push_back(
            CFCast<CFNumber>(CFDictionaryGetValue(dictionary, kCGWindowLayer))->integerValue());
        EXPECT_EQ(
            CFCast<CFNumber>(CFDictionaryGetValue(dictionary, kCGWindowOwnerPID))->integerValue(),
            app);
    }
    EXPECT_EQ(numbers, (std::vector<std::int64_t>{panel, back, front}));
    EXPECT_EQ(layers, (std::vector<std::int64_t>{3, 0, 0}));

    CGRect bounds;
    ASSERT_TRUE(CGRectMakeWithDictionaryRepresentation(
        CFCast<CFDictionary>(
            CFDictionaryGetValue(CFCast<CFDictionary>(rows->values()[1]), kCGWindowBounds)),
        &bounds));
    EXPECT_EQ(bounds, CGRect(0, 30, 300, 200));
    EXPECT_EQ(CFArrayGetCount(CGWindowListCopyWindowInfo(kCGWindowListOptionAll, 0)), 5);
}

TEST_F(WindowListTests, AHiddenApplicationsWindowsLeaveTheList) {
    const auto app = launch("com.example.editor", true);
    open(app, CGRect(0, 30, 300, 200));
    desktop->hide(app);
    EXPECT_EQ(CFArrayGetCount(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, 0)), 0);
    desktop->unhide(app);
    EXPECT_EQ(CFArrayGetCount(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, 0)), 1);
}

TEST_F(WindowListTests, ARectangleNeedsAllFourNumbers) {
    CGRect rect(1, 2, 3, 4);
    EXPECT_FALSE(CGRectMakeWithDictionaryRepresentation(
        CFDictionaryCreate({{"X", CFNumberCreate(1.0)}}), &rect));
    EXPECT_EQ(rect, CGRect(1, 2, 3, 4));
    EXPECT_FALSE(CGRectMakeWithDictionaryRepresentation(nullptr, &rect));
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST_F(WindowListTests, WindowsOfAnUnpluggedDisplayComeToTheMenuBarDisplay) {
    const auto side = desktop->addDisplay(CGRect(1440, 0, 1920, 1080));
    const auto app = launch("com.example.editor", true);
    const auto stays = open(app, CGRect(100, 100, 400, 300));
    const auto moved = open(app, CGRect(2000, 200, 400, 300));
    desktop->removeDisplay(side);
    EXPECT_EQ(desktop->window(stays)->frame, CGRect(100, 100, 400, 300));
    EXPECT_EQ(desktop->window(moved)->frame, CGRect(0, 25, 400, 300));
}

}  // namespace
}  // namespace kelvo
