#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "KelvoCore/Store/FocusDwell.h"
#include "KelvoCore/Store/FocusFollowsCursor.h"
#include "Support/KelvoCore/ManualScheduler.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Verdict = FocusFollowsCursor::Verdict;

const WindowID left{7};
const WindowID right{3};
const WindowID floater{20};

// Two tiles side by side sharing the edge x = 500, and a floating window over both.
const std::map<WindowID, CGRect> frames = {
    {right, CGRect(500, 0, 500, 800)},
    {left, CGRect(0, 0, 500, 800)},
    {floater, CGRect(400, 300, 200, 200)},
};
const std::vector<CGRect> menuBar = {CGRect(0, 0, 1000, 24)};

TEST(FocusFollowsCursorTarget, PicksTheWindowUnderThePoint) {
    struct Row {
        CGPoint point;
        std::set<WindowID> onTop;
        std::optional<WindowID> focused;
        std::optional<WindowID> target;
    };
    const Row rows[] = {
        {{500, 100}, {}, std::nullopt, right},  // shared edge: the right-hand tile's left edge
        {{499.9, 100}, {}, std::nullopt, left},
        {{1000, 100}, {}, std::nullopt, std::nullopt},   // right edges are outside
        {{450, 350}, {floater}, std::nullopt, floater},  // on top beats the smaller number
        {{450, 350}, {}, std::nullopt, left},            // without on-top, the smaller number
        {{550, 350}, {}, std::nullopt, right},
        {{550, 350}, {floater}, floater, std::nullopt},  // already focused
        {{100, 100}, {}, left, std::nullopt},
        {{-1, 100}, {}, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FocusFollowsCursor::target(row.point, frames, row.onTop, row.focused), row.target)
            << row.point.x << "," << row.point.y;
    }
}

TEST(FocusFollowsCursorTarget, TiesGoToTheSmallerUnsignedNumber) {
    const std::map<WindowID, CGRect> stacked = {{WindowID(0x80000000u), CGRect(0, 0, 10, 10)},
                                                {WindowID(5), CGRect(0, 0, 10, 10)}};
    EXPECT_EQ(FocusFollowsCursor::target({1, 1}, stacked, {}, std::nullopt), WindowID(5));
}

TEST(FocusFollowsCursorVerdict, DecidesInOrder) {
    const auto verdict = [](CGPoint p, std::optional<WindowID> focused,
                            std::optional<WindowID> armed, double delay) {
        return FocusFollowsCursor::verdict(p, frames, {}, focused, armed, menuBar, delay);
    };
    EXPECT_EQ(verdict({100, 10}, std::nullopt, std::nullopt, 0.2), Verdict::ignore());  // dead zone
    EXPECT_EQ(verdict({100, 10}, std::nullopt, std::nullopt, 0), Verdict::ignore());
    EXPECT_EQ(verdict({100, 100}, left, std::nullopt, 0.2), Verdict::ignore());  // no target
    EXPECT_EQ(verdict({100, 100}, std::nullopt, std::nullopt, 0.2), Verdict::arm(left));
    EXPECT_EQ(verdict({100, 100}, std::nullopt, right, 0.2), Verdict::arm(left));
    EXPECT_EQ(verdict({100, 100}, std::nullopt, left, 0.2), Verdict::keepWaiting());
    EXPECT_EQ(verdict({100, 100}, std::nullopt, left, 0), Verdict::focus(left));
    EXPECT_EQ(verdict({100, 100}, std::nullopt, std::nullopt, -1), Verdict::focus(left));
}

TEST(FocusFollowsCursorVerdict, CarriesItsWindowOnlyWhereItHasOne) {
    EXPECT_EQ(Verdict::focus(left).window(), left);
    EXPECT_EQ(Verdict::arm(right).window(), right);
    EXPECT_EQ(Verdict::keepWaiting().window(), std::nullopt);
    EXPECT_EQ(Verdict::ignore().window(), std::nullopt);
    EXPECT_NE(Verdict::focus(left), Verdict::arm(left));
}

class FocusDwellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dwell->schedule = clock.delayedScheduler();
        dwell->onFocus = [this](WindowID id) { focusedCalls.push_back(id); };
    }
    void move(CGPoint p, std::optional<WindowID> focused = std::nullopt, double delay = 0.2) {
        dwell->pointerMoved(p, frames, {}, focused, menuBar, delay);
    }

    ManualScheduler clock;
    std::unique_ptr<FocusDwell> dwell = std::make_unique<FocusDwell>();
    std::vector<WindowID> focusedCalls;
};

TEST_F(FocusDwellTest, MovingWithinTheArmedWindowKeepsTheFirstDwell) {
    move({100, 100});
    clock.advance(0.1);
    move({200, 300});
    EXPECT_EQ(dwell->armed(), left);
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(0.1);
    EXPECT_THAT(focusedCalls, ElementsAre(left)) << "fires 0.2 s after the first move";
    EXPECT_EQ(dwell->armed(), std::nullopt);
}

TEST_F(FocusDwellTest, OnlyTheLastOfSeveralReArmsCanFire) {
    move({100, 100});
    clock.advance(0.05);
    move({700, 100});
    clock.advance(0.05);
    move({100, 100});
    const int generation = dwell->generation();
    EXPECT_EQ(generation, 3);
    clock.advance(0.15);
    EXPECT_THAT(focusedCalls, IsEmpty()) << "the first two dwells are stale";
    clock.advance(0.05);
    EXPECT_THAT(focusedCalls, ElementsAre(left));
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(FocusDwellTest, TheFocusedWindowOrADeadZoneDisarms) {
    move({100, 100});
    move({100, 100}, left);
    EXPECT_EQ(dwell->armed(), std::nullopt);
    move({700, 100});
    move({700, 10});
    EXPECT_EQ(dwell->armed(), std::nullopt);
    clock.advance(1);
    EXPECT_THAT(focusedCalls, IsEmpty());
}

TEST_F(FocusDwellTest, CancelVoidsAScheduledDwell) {
    move({100, 100});
    dwell->cancel();
    EXPECT_EQ(dwell->armed(), std::nullopt);
    clock.advance(1);
    EXPECT_THAT(focusedCalls, IsEmpty());
}

TEST_F(FocusDwellTest, ZeroDelayFocusesAtOnce) {
    move({700, 100}, std::nullopt, 0);
    EXPECT_THAT(focusedCalls, ElementsAre(right));
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_EQ(dwell->armed(), std::nullopt);
}

TEST_F(FocusDwellTest, WithoutASchedulerAPositiveDelayFocusesAtOnce) {
    dwell->schedule = nullptr;
    move({700, 100});
    EXPECT_THAT(focusedCalls, ElementsAre(right));
    EXPECT_EQ(dwell->armed(), std::nullopt);
}

TEST_F(FocusDwellTest, ADwellOutlivedByItsWorkDoesNothing) {
    move({100, 100});
    dwell.reset();
    clock.advance(1);
    EXPECT_THAT(focusedCalls, IsEmpty());
}

TEST_F(FocusDwellTest, WithoutAFocusCallbackNothingBreaks) {
    dwell->onFocus = nullptr;
    move({100, 100});
    clock.advance(1);
    EXPECT_EQ(dwell->armed(), std::nullopt);
}

}  // namespace
}  // namespace kelvo
