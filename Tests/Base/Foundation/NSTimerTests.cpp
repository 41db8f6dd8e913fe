#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/NSTimer.h"

namespace {

class NSTimerTest : public ::testing::Test {
  protected:
    double elapsed() const { return secondsBetween(ManualClock::startTime, clock.now()); }
    std::function<void(NSTimer&)> record() {
        return [this](NSTimer&) { fired.push_back(elapsed()); };
    }

    ManualClock clock;
    std::vector<double> fired;
};

TEST_F(NSTimerTest, ARepeatingTimerFiresEveryIntervalUntilInvalidated) {
    const NSTimerRef timer = NSTimer::scheduledTimerWithTimeInterval(1.0, true, record());
    clock.advance(3.5);
    EXPECT_EQ(fired, (std::vector<double>{1, 2, 3}));
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    clock.advance(3);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(NSTimerTest, TheRunLoopKeepsAScheduledTimerAndAOneShotEndsAfterFiring) {
    // Nobody keeps the repeating timer; it stops itself after its third fire.
    NSTimer::scheduledTimerWithTimeInterval(1.0, true, [this](NSTimer& timer) {
        fired.push_back(elapsed());
        if (fired.size() == 4) timer.invalidate();
    });
    const NSTimerRef once = NSTimer::scheduledTimerWithTimeInterval(0.5, false, record());
    clock.advance(5);
    EXPECT_EQ(fired, (std::vector<double>{0.5, 1, 2, 3}));
    EXPECT_FALSE(once->isValid());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(NSTimerTest, ABlockMayInvalidateItsOwnTimer) {
    int count = 0;
    NSTimer::scheduledTimerWithTimeInterval(0.25, true, [&](NSTimer& timer) {
        if (++count == 2) timer.invalidate();
    });
    clock.advance(2);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(NSTimerTest, IntervalsThatAreNotUsableAreNeverHarmful) {
    const NSTimerRef tiny = NSTimer::scheduledTimerWithTimeInterval(-1, false, record());
    EXPECT_EQ(tiny->timeInterval(), NSTimer::minimumInterval);
    const NSTimerRef notANumber = NSTimer::scheduledTimerWithTimeInterval(
        std::numeric_limits<double>::quiet_NaN(), false, record());
    const NSTimerRef never = NSTimer::scheduledTimerWithTimeInterval(
        std::numeric_limits<double>::infinity(), true, record());
    clock.advance(1);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_TRUE(never->isValid());
    never->invalidate();
}

}  // namespace
