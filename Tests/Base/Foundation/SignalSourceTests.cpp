#include <gtest/gtest.h>
#include <signal.h>

#include <vector>

#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/ManualClock.h"

namespace {

sighandler_t dispositionOf(int signal) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

class SignalSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::signal(SIGINT, SIG_IGN);
        ::signal(SIGTERM, SIG_IGN);
    }
    void TearDown() override {
        ::signal(SIGINT, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
    }
    ManualClock clock;
};

TEST_F(SignalSourceTest, IgnoredSignalReachesTheHandlerOnTheMainQueueNotBefore) {
    std::vector<unsigned long> delivered;
    const auto source = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    source.setEventHandler([&] {
        EXPECT_TRUE(DispatchQueue::main().isCurrent());
        delivered.push_back(source.data());
    });
    source.resume();
    raise(SIGTERM);
    EXPECT_TRUE(delivered.empty());
    clock.runUntilIdle();
    EXPECT_EQ(delivered, std::vector<unsigned long>{1});
    source.cancel();
}

TEST_F(SignalSourceTest, ArrivalsBeforeTheHandlerRunsMergeIntoOneRun) {
    int runs = 0;
    unsigned long data = 0;
    const auto source = DispatchSource::makeSignalSource(SIGINT, DispatchQueue::main());
    source.setEventHandler([&] {
        ++runs;
        data = source.data();
    });
    source.resume();
    raise(SIGINT);
    raise(SIGINT);
    clock.runUntilIdle();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(data, 2u);
    source.cancel();
}

TEST_F(SignalSourceTest, EachSourceHearsOnlyItsOwnSignal) {
    std::vector<int> heard;
    const auto interrupt = DispatchSource::makeSignalSource(SIGINT, DispatchQueue::main());
    const auto terminate = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    interrupt.setEventHandler([&] { heard.push_back(SIGINT); });
    terminate.setEventHandler([&] { heard.push_back(SIGTERM); });
    interrupt.resume();
    terminate.resume();
    raise(SIGTERM);
    clock.runUntilIdle();
    EXPECT_EQ(heard, std::vector<int>{SIGTERM});
    interrupt.cancel();
    terminate.cancel();
}

TEST_F(SignalSourceTest, CancellingTheLastSourceRestoresTheEarlierDisposition) {
    const auto first = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    const auto second = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    EXPECT_EQ(dispositionOf(SIGTERM), SIG_IGN);
    first.resume();
    second.resume();
    EXPECT_NE(dispositionOf(SIGTERM), SIG_IGN);
    first.cancel();
    EXPECT_NE(dispositionOf(SIGTERM), SIG_IGN);
    second.cancel();
    EXPECT_TRUE(second.isCancelled());
    EXPECT_EQ(dispositionOf(SIGTERM), SIG_IGN);
}

TEST_F(SignalSourceTest, SourceCancelledBeforeItsHandlerRanStaysSilent) {
    int runs = 0;
    const auto source = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    source.setEventHandler([&] { ++runs; });
    source.resume();
    raise(SIGTERM);
    clock.runUntilIdle();
    EXPECT_EQ(runs, 1);
    raise(SIGTERM);
    source.cancel();
    clock.runUntilIdle();
    EXPECT_EQ(runs, 1);
}

TEST_F(SignalSourceTest, ReleasedSourceLetsGoOfItsSignal) {
    {
        const auto source = DispatchSource::makeSignalSource(SIGINT, DispatchQueue::main());
        source.resume();
        EXPECT_NE(dispositionOf(SIGINT), SIG_IGN);
    }
    EXPECT_EQ(dispositionOf(SIGINT), SIG_IGN);
}

}  // namespace
