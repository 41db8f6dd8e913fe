#include <gtest/gtest.h>

#include "Support/Platform/AccessibilityTestSupport.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

// How windows answer frame writes, as seen through the Accessibility stand-in.
class WriteAnswerTests : public DesktopFixture {
  protected:
    AXUIElementRef windowWith(const sim::WindowSpec& spec) {
        number = open(app, CGRect(100, 100, 800, 600), spec);
        return windowElement(app, number);
    }

    sim::Pid app = launch("com.example.editor", true);
    sim::WindowNumber number = 0;
};

TEST_F(WriteAnswerTests, AnAcceptingWindowTakesTheFrameAtOnce) {
    const auto window = windowWith({});
    EXPECT_EQ(writePosition(window, CGPoint{0, 25}), kAXErrorSuccess);
    EXPECT_EQ(writeSize(window, CGSize{720, 875}), kAXErrorSuccess);
    EXPECT_EQ(frameOf(window), CGRect(0, 25, 720, 875));
}

TEST_F(WriteAnswerTests, AWriteThatLandsLateReadsTheOldFrameUntilItLands) {
    sim::WindowSpec spec;
    spec.answer.landsAfter = 0.3;
    const auto window = windowWith(spec);
    EXPECT_EQ(writePosition(window, CGPoint{0, 25}), kAXErrorSuccess);
    EXPECT_EQ(frameOf(window)->origin, (CGPoint{100, 100}));
    clock.advance(0.2);
    EXPECT_EQ(frameOf(window)->origin, (CGPoint{100, 100}));
    clock.advance(0.1);
    EXPECT_EQ(frameOf(window)->origin, (CGPoint{0, 25}));
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(WriteAnswerTests, ALateWriteToAWindowClosedMeanwhileIsDropped) {
    sim::WindowSpec spec;
    spec.answer.landsAfter = 0.3;
    const auto window = windowWith(spec);
    writePosition(window, CGPoint{0, 25});
    desktop->closeWindow(number);
    spec.number = number;
    const auto reused = open(app, CGRect(5, 30, 200, 200), spec);
    clock.advance(1);
    EXPECT_EQ(desktop->window(reused)->frame.origin, (CGPoint{5, 30}));
}

TEST_F(WriteAnswerTests, ASizeWriteIsClampedToTheMinimumAndMaximum) {
    sim::WindowSpec spec;
    spec.minimumSize = CGSize{500, 400};
    spec.maximumSize = CGSize{1000, 0};
    const auto window = windowWith(spec);
    EXPECT_EQ(writeSize(window, CGSize{300, 300}), kAXErrorSuccess);
    EXPECT_EQ(frameOf(window)->size, (CGSize{500, 400}));
    writeSize(window, CGSize{1400, 850});
    EXPECT_EQ(frameOf(window)->size, (CGSize{1000, 850}));
}

TEST_F(WriteAnswerTests, ARefusedPositionWriteMovesNothingButSizesStillLand) {
    sim::WindowSpec spec;
    spec.answer.refusesPosition = true;
    const auto window = windowWith(spec);
    EXPECT_EQ(writePosition(window, CGPoint{0, 25}), kAXErrorSuccess);
    EXPECT_EQ(writeSize(window, CGSize{400, 300}), kAXErrorSuccess);
    EXPECT_EQ(frameOf(window), CGRect(100, 100, 400, 300));
}

TEST_F(WriteAnswerTests, ARefusalCanAnswerWithAnError) {
    sim::WindowSpec spec;
    spec.answer.refusesSize = true;
    spec.answer.refusalError = sim::AccessError::cannotComplete;
    const auto window = windowWith(spec);
    EXPECT_EQ(writeSize(window, CGSize{400, 300}), kAXErrorCannotComplete);
    EXPECT_EQ(frameOf(window)->size, (CGSize{800, 600}));
}

TEST_F(WriteAnswerTests, AWindowKeptInsideTheVisibleFrameIsPushedBack) {
    sim::WindowSpec spec;
    spec.answer.keepsInsideVisibleFrame = true;
    const auto window = windowWith(spec);
    // Parking in the bottom-right corner: the window comes back inside.
    writePosition(window, CGPoint{1439, 899});
    EXPECT_EQ(frameOf(window), CGRect(640, 300, 800, 600));
    writePosition(window, CGPoint{0, 0});
    EXPECT_EQ(frameOf(window)->origin, (CGPoint{0, sim::Desktop::menuBarHeight}));
}

TEST_F(WriteAnswerTests, AWindowThatKeepsItsAspectFollowsTheWidth) {
    sim::WindowSpec spec;
    spec.answer.keepsAspectRatio = true;
    const auto window = windowWith(spec);
    writeSize(window, CGSize{400, 100});
    EXPECT_EQ(frameOf(window)->size, (CGSize{400, 300}));
}

TEST_F(WriteAnswerTests, AFullScreenWindowDoesNotMove) {
    const auto window = windowWith({});
    desktop->setFullScreen(number, true);
    EXPECT_EQ(frameOf(window), mainDisplay);
    writePosition(window, CGPoint{10, 40});
    EXPECT_EQ(frameOf(window), mainDisplay);
    CFTypeRef value;
    ASSERT_EQ(AXUIElementCopyAttributeValue(window, kAXFullScreenAttribute, &value),
              kAXErrorSuccess);
    EXPECT_TRUE(CFBooleanGetValue(CFCast<CFBoolean>(value)));
    EXPECT_EQ(AXUIElementSetAttributeValue(window, kAXFullScreenAttribute, kCFBooleanFalse),
              kAXErrorSuccess);
    EXPECT_EQ(frameOf(window), CGRect(100, 100, 800, 600));
}

TEST_F(WriteAnswerTests, MinimizingThroughAccessibilityTakesTheWindowOffScreen) {
    const auto window = windowWith({});
    EXPECT_EQ(AXUIElementSetAttributeValue(window, kAXMinimizedAttribute, kCFBooleanTrue),
              kAXErrorSuccess);
    EXPECT_TRUE(desktop->window(number)->minimized);
    EXPECT_FALSE(desktop->window(number)->onScreen);
    EXPECT_TRUE(desktop->windowList(sim::windowListOnScreenOnly, 0).empty());
    EXPECT_EQ(windowElement(app, number) != nullptr, true);  // still in "AXWindows"
}

TEST_F(WriteAnswerTests, AWriteOfTheWrongKindIsAnIllegalArgument) {
    const auto window = windowWith({});
    EXPECT_EQ(AXUIElementSetAttributeValue(window, kAXPositionAttribute, kCFBooleanTrue),
              kAXErrorIllegalArgument);
    EXPECT_EQ(AXUIElementSetAttributeValue(window, kAXPositionAttribute, nullptr),
              kAXErrorIllegalArgument);
}

}  // namespace
}  // namespace kelvo

namespace kelvo {
namespace {

TEST_F(WriteAnswerTests, AnApplicationActsOnItsOwnTime) {
    const auto window = windowWith({});
    desktop->later(0.5, [n = number](sim::Desktop& d) { d.setMinimized(n, true); });
    clock.advance(0.4);
    EXPECT_FALSE(desktop->window(number)->minimized);
    clock.advance(0.1);
    EXPECT_TRUE(desktop->window(number)->minimized);
    (void)window;
}

}  // namespace
}  // namespace kelvo
