#include <gtest/gtest.h>

#include <vector>

#include "Platform/AppKit/NSAnimationContext.h"
#include "Platform/AppKit/NSWindow.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

/// A panel of the desktop, transparent and shown, whose alpha a group animates.
class WindowAlphaTest : public DesktopFixture {
  protected:
    WindowAlphaTest() {
        panel.setAlphaValue(0);
        panel.orderFrontRegardless();
    }
    double elapsed() const { return secondsBetween(ManualClock::startTime, clock.now()); }
    double desktopAlpha() const {
        for (const auto& window : desktop->windows())
            if (window.number == static_cast<sim::WindowNumber>(panel.windowNumber()))
                return window.alpha;
        return -1;
    }
    void fade(double to, double duration, std::function<void()> completion) {
        NSAnimationContext::runAnimationGroup(
            [&](NSAnimationContext& context) {
                context.setDuration(duration);
                context.setTimingFunction(
                    CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeInEaseOut));
                panel.animator().setAlphaValue(to);
            },
            std::move(completion));
    }

    NSPanel panel{CGRect(0, 0, 160, 160), NSWindowStyleMaskNonactivatingPanel,
                  NSBackingStoreBuffered, false};
};

TEST_F(WindowAlphaTest, AGroupMovesTheAlphaAlongItsCurveAndCompletesOnceAtItsEnd) {
    std::vector<double> completed;
    fade(1, 0.18, [&] { completed.push_back(elapsed()); });
    EXPECT_EQ(panel.alphaValue(), 0);
    clock.advance(0.09);
    EXPECT_NEAR(panel.alphaValue(), 0.5, 1e-9);
    // The desktop has been told along the way (at most a frame behind).
    EXPECT_GT(desktopAlpha(), 0.3);
    EXPECT_LE(desktopAlpha(), 0.5);
    EXPECT_TRUE(completed.empty());
    clock.advance(0.09);
    EXPECT_EQ(panel.alphaValue(), 1);
    EXPECT_EQ(desktopAlpha(), 1);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_NEAR(completed[0], 0.18, 1e-9);
    clock.advance(1);
    EXPECT_EQ(completed.size(), 1u);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(WindowAlphaTest, ANewGroupTakesOverFromTheAlphaShownAndTheOldOneCompletes) {
    std::vector<std::string> completed;
    panel.setAlphaValue(1);
    fade(0, 0.34, [&] { completed.push_back("out"); });
    clock.advance(0.17);
    const double halfway = panel.alphaValue();
    EXPECT_NEAR(halfway, 0.5, 1e-9);
    fade(1, 0.18, [&] { completed.push_back("in"); });
    EXPECT_NEAR(panel.alphaValue(), halfway, 1e-9);
    clock.runUntilIdle();
    EXPECT_EQ(completed, std::vector<std::string>{"out"});
    clock.advance(0.18);
    EXPECT_EQ(panel.alphaValue(), 1);
    EXPECT_EQ(completed, (std::vector<std::string>{"out", "in"}));
}

TEST_F(WindowAlphaTest, OutsideAGroupOrWithoutDurationTheAlphaChangesAtOnce) {
    panel.animator().setAlphaValue(0.7);
    EXPECT_EQ(panel.alphaValue(), 0.7);
    bool done = false;
    fade(0.2, 0, [&] { done = true; });
    EXPECT_EQ(panel.alphaValue(), 0.2);
    clock.runUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_EQ(desktopAlpha(), 0.2);
}

TEST_F(WindowAlphaTest, AGroupWithNothingToAnimateCompletesOnTheNextTurn) {
    bool done = false;
    NSAnimationContext::runAnimationGroup([](NSAnimationContext&) {}, [&] { done = true; });
    EXPECT_FALSE(done);
    clock.runUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_EQ(NSAnimationContext::currentContext(), nullptr);
}

TEST_F(WindowAlphaTest, AWindowGoneMidAnimationStillLetsItsGroupComplete) {
    bool done = false;
    {
        NSPanel brief(CGRect(0, 0, 10, 10), NSWindowStyleMaskNonactivatingPanel,
                      NSBackingStoreBuffered, false);
        NSAnimationContext::runAnimationGroup(
            [&](NSAnimationContext& context) {
                context.setDuration(1);
                brief.animator().setAlphaValue(0);
            },
            [&] { done = true; });
    }
    clock.advance(2);
    EXPECT_TRUE(done);
}

}  // namespace
}  // namespace kelvo
