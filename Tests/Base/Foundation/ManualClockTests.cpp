#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/ManualClock.h"

namespace {

class ManualClockTest : public ::testing::Test {
  protected:
    ManualClock clock;
    std::vector<std::string> ran;

    std::function<void()> record(std::string name) {
        return [this, name] { ran.push_back(name); };
    }
};

TEST_F(ManualClockTest, NothingRunsUntilTheTestRunsTheClock) {
    DispatchQueue::main().async(record("a"));
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.runUntilIdle();
    EXPECT_EQ(ran, std::vector<std::string>{"a"});
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_EQ(clock.nextDeadline(), std::nullopt);
}

TEST_F(ManualClockTest, EqualDeadlinesRunInSubmissionOrderAcrossQueues) {
    const DispatchQueue serial("test.serial");
    const DispatchTime at = DispatchTime::now() + 0.2;
    DispatchQueue::main().asyncAfter(at, record("main 1"));
    serial.asyncAfter(at, record("serial"));
    DispatchQueue::main().asyncAfter(at, record("main 2"));
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.1, record("earlier"));
    clock.advance(0.2);
    EXPECT_EQ(ran, (std::vector<std::string>{"earlier", "main 1", "serial", "main 2"}));
}

TEST_F(ManualClockTest, RunUntilIdleAlsoRunsWhatTheWorkPostsForNowButNothingLater) {
    DispatchQueue::main().async([this] {
        ran.push_back("first");
        DispatchQueue::main().async(record("posted for now"));
        DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.001, record("later"));
    });
    clock.runUntilIdle();
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "posted for now"}));
    EXPECT_EQ(clock.pendingCount(), 1u);
    EXPECT_EQ(clock.nextDeadline(), ManualClock::startTime + 0.001);
}

TEST_F(ManualClockTest, AdvanceStopsAtEveryDeadlineWithTheClockSetToIt) {
    std::vector<double> seenAt;
    const auto stamp = [&] {
        seenAt.push_back(secondsBetween(ManualClock::startTime, clock.now()));
    };
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.3, [&] {
        stamp();
        // Work posted while advancing joins the same span.
        DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.1, stamp);
        DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.3, stamp);
    });
    clock.advance(0.5);
    EXPECT_EQ(seenAt, (std::vector<double>{0.3, 0.4}));
    EXPECT_DOUBLE_EQ(secondsBetween(ManualClock::startTime, clock.now()), 0.5);
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(0.1);
    EXPECT_EQ(seenAt.size(), 3u);
}

TEST_F(ManualClockTest, ElapsingMovesTimeWithoutRunningWhatFallsDueUntilTheClockRuns) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.1, record("due meanwhile"));
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.5, [this] {
        ran.push_back("advanced past");
        // A call that answers late inside the work carries the clock beyond the span.
        clock.elapse(1.0);
    });
    clock.elapse(0.25);
    EXPECT_TRUE(ran.empty());
    EXPECT_DOUBLE_EQ(secondsBetween(ManualClock::startTime, clock.now()), 0.25);
    clock.advance(0.5);
    EXPECT_EQ(ran, (std::vector<std::string>{"due meanwhile", "advanced past"}));
    // Never back: the span ended at 0.75, the late answer came at 1.5.
    EXPECT_DOUBLE_EQ(secondsBetween(ManualClock::startTime, clock.now()), 1.5);
    clock.elapse(-1);
    EXPECT_DOUBLE_EQ(secondsBetween(ManualClock::startTime, clock.now()), 1.5);
}

TEST_F(ManualClockTest, DeadlineExactlyAtTheEndOfTheSpanRunsAndOnePastItDoesNot) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.4, record("at 0.4"));
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.400000001, record("past"));
    clock.advance(0.399999999);
    EXPECT_TRUE(ran.empty());
    clock.advance(0.000000001);
    EXPECT_EQ(ran, std::vector<std::string>{"at 0.4"});
}

TEST_F(ManualClockTest, CancelledWorkNeitherRunsNorCounts) {
    const DispatchWorkItem item(record("cancelled"));
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.4, item);
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.5, record("kept"));
    EXPECT_EQ(clock.pendingCount(), 2u);
    item.cancel();
    EXPECT_TRUE(item.isCancelled());
    EXPECT_EQ(clock.pendingCount(), 1u);
    EXPECT_EQ(clock.nextDeadline(), ManualClock::startTime + 0.5);
    clock.advance(1);
    EXPECT_EQ(ran, std::vector<std::string>{"kept"});
}

// Posts to the main queue when it goes, as an owner whose last reference a block holds may.
struct PostsWhenDropped {
    explicit PostsWhenDropped(std::function<void()> drop) : onDrop(std::move(drop)) {}
    ~PostsWhenDropped() { DispatchQueue::main().async(onDrop); }
    std::function<void()> onDrop;
};

TEST_F(ManualClockTest, CancelledWorkMayPostWhileItsCapturesGo) {
    {
        const auto owner = std::make_shared<PostsWhenDropped>(record("dropped"));
        const DispatchWorkItem item([owner] {});
        DispatchQueue::main().async(item);
        item.cancel();
    }
    clock.runUntilIdle();
    EXPECT_EQ(ran, std::vector<std::string>{"dropped"});
}

TEST_F(ManualClockTest, WorkFromAnotherThreadJoinsTheOrderWhenItIsPosted) {
    DispatchQueue::main().async(record("before"));
    std::thread([this] { DispatchQueue::main().async(record("from thread")); }).join();
    DispatchQueue::main().async(record("after"));
    clock.runUntilIdle();
    EXPECT_EQ(ran, (std::vector<std::string>{"before", "from thread", "after"}));
}

TEST_F(ManualClockTest, ManyThreadsPostingKeepEachThreadsOrder) {
    constexpr int threads = 4;
    constexpr int perThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t) {
        posters.emplace_back([this, t] {
            for (int i = 0; i < perThread; ++i) {
                DispatchQueue::main().async(record(std::to_string(t) + ":" + std::to_string(i)));
            }
        });
    }
    for (auto& poster : posters)
        poster.join();
    clock.runUntilIdle();
    ASSERT_EQ(ran.size(), static_cast<std::size_t>(threads * perThread));
    std::vector<int> next(threads, 0);
    for (const auto& entry : ran) {
        const int t = std::stoi(entry.substr(0, entry.find(':')));
        EXPECT_EQ(std::stoi(entry.substr(entry.find(':') + 1)), next[t]++);
    }
}

TEST_F(ManualClockTest, MainSyncFromAnotherThreadWaitsForTheTestToRunIt) {
    int answer = 0;
    std::thread caller([&] { DispatchQueue::main().sync([&] { answer = 42; }); });
    ASSERT_TRUE(clock.waitForPending(1));
    EXPECT_EQ(answer, 0);
    clock.runUntilIdle();
    caller.join();
    EXPECT_EQ(answer, 42);
}

TEST_F(ManualClockTest, SerialSyncFromTheTestThreadRunsThatQueuesEarlierWorkFirst) {
    const DispatchQueue serial("test.serial");
    serial.async(record("serial async"));
    DispatchQueue::main().async(record("main async"));
    serial.asyncAfter(DispatchTime::now() + 1, record("serial later"));
    serial.sync(record("serial sync"));
    EXPECT_EQ(ran, (std::vector<std::string>{"serial async", "serial sync"}));
    EXPECT_EQ(clock.pendingCount(), 2u);
}

TEST_F(ManualClockTest, SerialWorkKnowsItsQueue) {
    const DispatchQueue serial("test.serial");
    bool onSerial = false;
    bool onMain = true;
    serial.async([&] {
        onSerial = serial.isCurrent();
        onMain = DispatchQueue::main().isCurrent();
    });
    clock.runUntilIdle();
    EXPECT_TRUE(onSerial);
    EXPECT_FALSE(onMain);
    EXPECT_FALSE(serial.isCurrent());
}

TEST_F(ManualClockTest, WorkOfAReleasedQueueStillRuns) {
    {
        const DispatchQueue serial("test.released");
        serial.asyncAfter(DispatchTime::now() + 0.5, record("after release"));
    }
    clock.advance(0.5);
    EXPECT_EQ(ran, std::vector<std::string>{"after release"});
}

TEST_F(ManualClockTest, DatesFollowVirtualTime) {
    const double start = Clock::current().secondsSince1970();
    EXPECT_DOUBLE_EQ(start, ManualClock::startSecondsSince1970);
    clock.advance(2.5);
    EXPECT_DOUBLE_EQ(Clock::current().secondsSince1970(), start + 2.5);
}

TEST(DispatchTime, AddingSpansSaturatesAndIgnoresNonsense) {
    const DispatchTime base{1000};
    EXPECT_EQ((base + 0.000001).uptimeNanoseconds, 2000u);
    EXPECT_EQ(base + -1.0, base);
    EXPECT_EQ(base + std::numeric_limits<double>::quiet_NaN(), base);
    EXPECT_EQ((base + 1e300).uptimeNanoseconds, std::numeric_limits<std::uint64_t>::max());
    EXPECT_DOUBLE_EQ(secondsBetween(base + 0.5, base), -0.5);
}

}  // namespace
