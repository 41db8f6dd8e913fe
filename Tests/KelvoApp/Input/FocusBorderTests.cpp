#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KelvoApp/Input/FocusBorder.h"
#include "Platform/AppKit/NSApplication.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

/// The border as a panel of the simulated desktop, on a main screen 1117 points high.
class FocusBorderTest : public DesktopFixture {
  protected:
    FocusBorderTest() {
        desktop->moveDisplay(desktop->displays().front().id, CGRect(0, 0, 1728, 1117));
        updates_ = NSNotificationCenter::defaultCenter().addObserver(
            NSApplicationDidUpdateNotification, nullptr, &DispatchQueue::main(),
            [this](const NSNotification&) { ++windowUpdates; });
    }
    ~FocusBorderTest() override { NSNotificationCenter::defaultCenter().removeObserver(updates_); }

    sim::WindowNumber number() const {
        return static_cast<sim::WindowNumber>(border.panel.windowNumber());
    }
    /// What the desktop draws for the panel.
    sim::OwnWindowSpec look() const { return desktop->ownWindow(number()).value(); }
    sim::WindowInfo onDesktop() const { return desktop->window(number()).value(); }
    /// The panel's row in the window server's list of windows on screen, if it is there.
    std::optional<sim::WindowListRow> listed() const {
        for (const auto& row : desktop->windowList(sim::windowListOnScreenOnly, 0))
            if (row.number == number()) return row;
        return std::nullopt;
    }

    FocusBorder border{HexColor{1, 0.478, 0.376}, 0.35, 16};
    /// How often the application updated its windows after one was moved or ordered.
    int windowUpdates = 0;

  private:
    NSNotificationToken updates_;
};

TEST_F(FocusBorderTest, ThePanelIsABorderlessClickThroughFloatingPanelThatIsNotShown) {
    EXPECT_EQ(border.panel.styleMask(), NSWindowStyleMaskNonactivatingPanel);
    EXPECT_EQ(border.panel.styleMask(), 128u);
    EXPECT_EQ(border.panel.level(), 3);
    EXPECT_FALSE(border.panel.isOpaque());
    EXPECT_EQ(*border.panel.backgroundColor()->CGColor(), (CGColorValue{0, 0, 0, 0}));
    EXPECT_FALSE(border.panel.hasShadow());
    EXPECT_TRUE(border.panel.ignoresMouseEvents());
    EXPECT_EQ(border.panel.collectionBehavior(), 81u);
    EXPECT_FALSE(border.panel.canBecomeKeyWindow());
    EXPECT_EQ(border.panel.frame(), CGRect());
    EXPECT_EQ(border.panel.contentView()->layer(), border.borderLayer);
    EXPECT_EQ(*border.borderLayer->backgroundColor(), (CGColorValue{0, 0, 0, 0}));
    EXPECT_EQ(border.borderLayer->borderWidth(), 2.0);
    EXPECT_FALSE(border.panel.isVisible());

    // A window of this process on the desktop, out of the list of windows on screen.
    ASSERT_GE(number(), 1u);
    EXPECT_EQ(onDesktop().owner, ownPid);
    EXPECT_EQ(onDesktop().layer, 3);
    EXPECT_FALSE(onDesktop().onScreen);
    EXPECT_FALSE(listed());
    EXPECT_TRUE(look().ignoresMouseEvents);
    EXPECT_EQ(look().background, (sim::Colour{0, 0, 0, 0}));
}

TEST_F(FocusBorderTest, TheBorderIsTheColourInSRGBFullyOpaqueTwoPointsWide) {
    EXPECT_EQ(*border.borderLayer->borderColor(), (CGColorValue{1, 0.478, 0.376, 1}));
    EXPECT_EQ(look().borderColour, (sim::Colour{1, 0.478, 0.376, 1}));
    EXPECT_EQ(look().borderWidth, 2.0);
    EXPECT_FLOAT_EQ(look().opacity, 0.35);
    EXPECT_EQ(look().cornerRadius, 17);
    border.setAppearance(HexColor{0, 1, 0}, 1, 4);
    EXPECT_EQ(look().borderColour, (sim::Colour{0, 1, 0, 1}));
    EXPECT_EQ(look().cornerRadius, 5);
}

TEST_F(FocusBorderTest, OpacityIsClampedAndANonNumberDrawsAtTheDefault) {
    border.setAppearance(HexColor::white(), 1.7, 0);
    EXPECT_EQ(border.borderLayer->opacity(), 1);
    EXPECT_EQ(look().opacity, 1);
    border.setAppearance(HexColor::white(), -0.2, 0);
    EXPECT_EQ(border.borderLayer->opacity(), 0);
    EXPECT_EQ(look().opacity, 0);
    border.setAppearance(HexColor::white(), std::nan(""), 0);
    EXPECT_FLOAT_EQ(border.borderLayer->opacity(), 0.35);
    EXPECT_FLOAT_EQ(look().opacity, 0.35);
}

TEST_F(FocusBorderTest, TheCornerRadiusIsClampedPlusOne) {
    const auto radius = [&](double given) {
        border.setAppearance(HexColor::white(), 1, given);
        EXPECT_EQ(border.borderLayer->cornerRadius(), look().cornerRadius);
        return look().cornerRadius;
    };
    EXPECT_EQ(radius(40), 33);
    EXPECT_EQ(radius(0), 1);
    EXPECT_EQ(radius(-5), 1);
    EXPECT_EQ(radius(std::numeric_limits<double>::infinity()), 17);
    EXPECT_EQ(radius(std::nan("")), 17);
    EXPECT_EQ(radius(8.5), 9.5);
}

TEST_F(FocusBorderTest, AWindowIsFramedOnePointOutsideFlippedOnTheMainScreen) {
    border.show(CGRect(100, 50, 800, 600));
    EXPECT_EQ(border.panel.frame(), CGRect(99, 466, 802, 602));
    EXPECT_TRUE(border.panel.isVisible());
    // The desktop lists it on screen at the floating level around the window, in its own
    // top-left coordinates.
    const auto row = listed();
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->bounds, CGRect(99, 49, 802, 602));
    EXPECT_EQ(row->layer, NSFloatingWindowLevel);
    EXPECT_EQ(row->ownerPID, ownPid);
}

TEST_F(FocusBorderTest, AWindowOnAnotherDisplayIsFlippedAgainstTheFirstScreen) {
    desktop->addDisplay(CGRect(1728, -200, 1920, 1080));
    border.show(CGRect(1800, -150, 400, 300));
    EXPECT_EQ(border.panel.frame(), CGRect(1799, 1117 - 150 - 1, 402, 302));
    EXPECT_EQ(onDesktop().frame, CGRect(1799, -151, 402, 302));
}

TEST_F(FocusBorderTest, ShowingTheSameFrameTwiceMovesNothingAndOrdersNothing) {
    border.show(CGRect(100, 50, 800, 600));
    settle();
    const int updates = windowUpdates;
    EXPECT_GT(updates, 0);
    // Another window of ours ordered in above it stays above: the border is not ordered again.
    NSPanel above(CGRect(0, 0, 50, 50), NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered,
                  false);
    above.setLevel(NSFloatingWindowLevel);
    above.orderFrontRegardless();
    settle();
    const int afterAbove = windowUpdates;
    border.show(CGRect(100, 50, 800, 600));
    settle();
    EXPECT_EQ(windowUpdates, afterAbove);
    const auto rows = desktop->windowList(sim::windowListOnScreenOnly, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, static_cast<sim::WindowNumber>(above.windowNumber()));
    // A new frame moves it, and once ordered out it comes to the front again.
    border.show(CGRect(100, 60, 800, 600));
    EXPECT_EQ(border.panel.frame(), CGRect(99, 456, 802, 602));
    border.panel.orderOut(nullptr);
    EXPECT_FALSE(listed());
    border.show(CGRect(100, 60, 800, 600));
    EXPECT_EQ(desktop->windowList(sim::windowListOnScreenOnly, 0).front().number, number());
}

TEST_F(FocusBorderTest, WithoutScreensNothingIsShown) {
    desktop->removeDisplay(desktop->displays().front().id);
    border.show(CGRect(100, 50, 800, 600));
    EXPECT_FALSE(border.panel.isVisible());
    EXPECT_EQ(border.panel.frame(), CGRect());
}

TEST_F(FocusBorderTest, ItNeverActivatesTheApplicationNorTakesAClick) {
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::WindowNumber window = open(editor, CGRect(100, 50, 800, 600));
    border.show(CGRect(100, 50, 800, 600));
    EXPECT_EQ(desktop->frontmost(), editor);
    EXPECT_FALSE(desktop->application(ownPid)->active);
    // A click on the border itself, just outside the window, and one inside the window.
    const auto clicks = desktop->receivedInput(editor).size();
    desktop->mouseDown(CGPoint{99.5, 300});
    desktop->mouseUp(CGPoint{99.5, 300});
    desktop->mouseDown(CGPoint{400, 300});
    desktop->mouseUp(CGPoint{400, 300});
    settle();
    EXPECT_TRUE(desktop->receivedInput(ownPid).empty());
    EXPECT_EQ(desktop->receivedInput(editor).size(), clicks + 4);
    EXPECT_EQ(desktop->frontmost(), editor);
    EXPECT_EQ(desktop->focusedWindow(editor), window);
}

}  // namespace
}  // namespace kelvo
