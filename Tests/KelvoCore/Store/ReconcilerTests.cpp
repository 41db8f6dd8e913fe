#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoCore/Store/Reconciler.h"
#include "Support/KelvoCore/FakeWindowBridge.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

const WindowID w1{1};
const WindowID w2{2};
const WindowID w3{3};

const CGRect want(0, 0, 500, 400);

class ReconcilerTest : public ::testing::Test {
  protected:
    std::set<WindowID> pass(const std::map<WindowID, CGRect>& planned,
                            const std::set<WindowID>& exempt = {}) {
        bridge.clearCalls();
        return reconciler.apply(planned, exempt);
    }
    std::set<WindowID> pass(WindowID id, const CGRect& frame,
                            const std::set<WindowID>& exempt = {}) {
        return pass(std::map<WindowID, CGRect>{{id, frame}}, exempt);
    }
    std::vector<CGRect> ledgerOf(WindowID id) const {
        const auto found = reconciler.ledger().find(id);
        return found == reconciler.ledger().end() ? std::vector<CGRect>{} : found->second;
    }
    std::optional<int> strikes(WindowID id) const {
        const auto found = reconciler.attempts().find(id);
        if (found == reconciler.attempts().end()) return std::nullopt;
        return found->second;
    }

    FakeWindowBridge bridge;
    Reconciler reconciler{bridge};
};

// MARK: The outcome table, row by row

TEST_F(ReconcilerTest, UnreadableBeforeWritingIsRetriedWithoutAStrike) {
    bridge.add(w1, CGRect(40, 0, 500, 400)).unreadable();
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)"));
    EXPECT_THAT(reconciler.unreadableInLastPass(), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), std::nullopt);
    EXPECT_EQ(reconciler.writesInLastPass(), 0);
}

TEST_F(ReconcilerTest, InPlaceWithinToleranceIsSkippedAndClearsStrikes) {
    // 0.8 off in x and exactly 1.0 narrower: both inside the inclusive tolerance.
    const CGRect have(0.8, 0, 499, 400);
    bridge.add(w1, CGRect(30, 0, 500, 400)).refuses();
    pass(w1, want);
    ASSERT_EQ(strikes(w1), 1);

    bridge.add(w1, have);
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)"));
    EXPECT_THAT(reconciler.skippedInLastPass(), ElementsAre(Reconciler::Skip{w1, want, have}));
    EXPECT_EQ(strikes(w1), 0);
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want));
    EXPECT_EQ(reconciler.writesInLastPass(), 0);
}

TEST_F(ReconcilerTest, JustBeyondToleranceIsWritten) {
    bridge.add(w1, CGRect(1.01, 0, 500, 400));
    pass(w1, want);
    EXPECT_THAT(bridge.writeLog(), ElementsAre("setFrame({0, 0, 500, 400}, win#1)"));
    EXPECT_EQ(reconciler.writesInLastPass(), 1);
    EXPECT_THAT(reconciler.skippedInLastPass(), IsEmpty());
}

TEST_F(ReconcilerTest, AcceptedWriteSettlesWithTwoReadsAndOneMinimizedQuery) {
    bridge.add(w1, CGRect(600, 0, 500, 400));
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)", "setFrame({0, 0, 500, 400}, win#1)",
                                              "frame(win#1)", "isWindowMinimized(win#1)"));
    EXPECT_EQ(strikes(w1), 0);
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want));
    EXPECT_EQ(reconciler.settledFrame(w1), want);
}

TEST_F(ReconcilerTest, UnreadableReadBackGoesToTheFailureStep) {
    bridge.add(w1, CGRect(600, 0, 500, 400));
    bridge.scriptReads(w1, {CGRect(600, 0, 500, 400), std::nullopt});
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_THAT(bridge.callLog(),
                ElementsAre("frame(win#1)", "setFrame({0, 0, 500, 400}, win#1)", "frame(win#1)"));
    EXPECT_EQ(strikes(w1), 1);
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want));
    EXPECT_THAT(reconciler.unreadableInLastPass(), IsEmpty());
}

TEST_F(ReconcilerTest, MinimizedWindowThatTookItsFrameIsReportedNotStruckNorRetried) {
    bridge.add(w1, CGRect(600, 0, 500, 400)).minimized();
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)", "setFrame({0, 0, 500, 400}, win#1)",
                                              "frame(win#1)", "isWindowMinimized(win#1)"));
    EXPECT_THAT(reconciler.minimizedInLastPass(), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), std::nullopt);
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want));
}

TEST_F(ReconcilerTest, MinimizedIsNotAskedWhenTheReadBackDiffers) {
    bridge.add(w1, CGRect(600, 0, 500, 400)).minimized().refusesPosition();
    pass(w1, want);
    EXPECT_EQ(bridge.count(FakeWindowBridge::Call::Operation::isWindowMinimized), 0u);
    EXPECT_THAT(reconciler.minimizedInLastPass(), IsEmpty());
    EXPECT_EQ(strikes(w1), 1);
}

TEST_F(ReconcilerTest, LargerThanAskedAfterMovingSettlesAndLearnsTheWidthFloor) {
    const CGRect before(0, 0, 700, 400);
    bridge.add(w1, before).clampsToMinimum({600, 0});
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(),
                ElementsAre("frame(win#1)", "setFrame({0, 0, 500, 400}, win#1)", "frame(win#1)"));
    EXPECT_EQ(strikes(w1), 0);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})));
    EXPECT_THAT(reconciler.clampedInLastPass(), ElementsAre(w1));
    EXPECT_THAT(reconciler.unmovedOvershoot(), IsEmpty());
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want, CGRect(0, 0, 600, 400)));

    // Asked for 500 again while at its floor and in position: in place, no write.
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)"));
    EXPECT_THAT(reconciler.skippedInLastPass(),
                ElementsAre(Reconciler::Skip{w1, want, CGRect(0, 0, 600, 400)}));
    EXPECT_THAT(reconciler.clampedInLastPass(), IsEmpty());
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want, CGRect(0, 0, 600, 400)));
}

TEST_F(ReconcilerTest, LargerThanAskedAtTheWrongPositionIsRetriedWithoutAStrike) {
    bridge.add(w1, CGRect(50, 0, 700, 400)).clampsToMinimum({600, 0}).refusesPosition();
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), std::nullopt);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})));
    EXPECT_THAT(reconciler.abandonedInLastPass(), IsEmpty());
}

TEST_F(ReconcilerTest, LargerAndUnmovedAtItsFloorIsRetriedWithoutAStrike) {
    // Learn the floor first, then ask again from a position the window will not leave.
    bridge.add(w1, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    pass(w1, want);
    bridge.window(w1).record.frame = CGRect(50, 0, 600, 400);
    bridge.window(w1).refuses();
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 0);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})));
}

TEST_F(ReconcilerTest, LargerUnmovedWithoutAFloorAtTheWrongPositionIsAStrike) {
    bridge.add(w1, CGRect(50, 0, 700, 400)).refuses();
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_THAT(bridge.callLog(),
                ElementsAre("frame(win#1)", "setFrame({0, 0, 500, 400}, win#1)", "frame(win#1)"));
    EXPECT_EQ(strikes(w1), 1);
    EXPECT_THAT(reconciler.clampedSizes(), IsEmpty());
    EXPECT_THAT(reconciler.unmovedOvershoot(), IsEmpty());
}

TEST_F(ReconcilerTest, WrongPositionAtTheAskedSizeIsAStrike) {
    bridge.add(w1, CGRect(0, 0, 300, 300)).refusesPosition();
    bridge.window(w1).record.frame = CGRect(80, 20, 300, 300);
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 1);
    EXPECT_EQ(bridge.actualFrame(w1), CGRect(80, 20, 500, 400));
}

TEST_F(ReconcilerTest, SmallerThanAskedAtTheRightPositionSettles) {
    bridge.add(w1, CGRect(300, 0, 200, 200)).clampsToMaximum({450, 350});
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_EQ(strikes(w1), 0);
    EXPECT_THAT(reconciler.clampedSizes(), IsEmpty());
    EXPECT_THAT(ledgerOf(w1), ElementsAre(want, CGRect(0, 0, 450, 350)));
}

// MARK: Strikes

TEST_F(ReconcilerTest, ThreeFailuresGiveUpUntilForgotten) {
    bridge.add(w1, CGRect(70, 0, 500, 400)).refusesPosition();
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 1);
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 2);
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_EQ(strikes(w1), 3);
    EXPECT_THAT(reconciler.abandonedInLastPass(), ElementsAre(w1));
    EXPECT_THAT(reconciler.unmanageable(), ElementsAre(w1));

    for (int i = 0; i < 2; ++i) {
        EXPECT_THAT(pass(w1, want), IsEmpty());
        EXPECT_THAT(bridge.callLog(), IsEmpty()) << "never touched again";
        EXPECT_THAT(reconciler.abandonedSkipInLastPass(), ElementsAre(w1));
        EXPECT_THAT(reconciler.abandonedInLastPass(), IsEmpty());
    }

    reconciler.forget(w1);
    EXPECT_THAT(reconciler.unmanageable(), IsEmpty());
    EXPECT_EQ(strikes(w1), 0) << "forgetting leaves the entry, at zero";
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(reconciler.writesInLastPass(), 1);
    EXPECT_EQ(strikes(w1), 1);
}

TEST_F(ReconcilerTest, StrikesCountOnlyConsecutiveFailures) {
    bridge.add(w1, CGRect(70, 0, 500, 400)).refusesPosition();
    pass(w1, want);
    pass(w1, want);
    ASSERT_EQ(strikes(w1), 2);
    bridge.window(w1).response = FakeWindowBridge::Response::accept;
    pass(w1, want);
    EXPECT_EQ(strikes(w1), 0);
    bridge.window(w1).refusesPosition().record.frame = CGRect(70, 0, 500, 400);
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 1);
}

TEST_F(ReconcilerTest, ExemptWindowsAreRetriedWithoutStrikes) {
    bridge.add(w1, CGRect(600, 0, 500, 400));
    bridge.scriptReads(w1, {CGRect(600, 0, 500, 400), std::nullopt});
    bridge.add(w2, CGRect(70, 0, 500, 400)).refusesPosition();
    for (int i = 0; i < 4; ++i) {
        bridge.scriptReads(w1, {CGRect(600, 0, 500, 400), std::nullopt});
        EXPECT_THAT(pass({{w1, want}, {w2, want}}, {w1, w2}), ElementsAre(w1, w2));
    }
    EXPECT_EQ(strikes(w1), std::nullopt);
    EXPECT_EQ(strikes(w2), std::nullopt);
    EXPECT_THAT(reconciler.unmanageable(), IsEmpty());
}

TEST_F(ReconcilerTest, MaxAttemptsIsSettable) {
    reconciler.setMaxAttempts(1);
    bridge.add(w1, CGRect(70, 0, 500, 400)).refusesPosition();
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(reconciler.abandonedInLastPass(), ElementsAre(w1));
}

TEST_F(ReconcilerTest, LateLandingFailsOnceThenIsFoundInPlace) {
    bridge.add(w1, CGRect(600, 0, 500, 400)).landsLate(1);
    EXPECT_THAT(pass(w1, want), ElementsAre(w1));
    EXPECT_EQ(strikes(w1), 1);
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_THAT(bridge.callLog(), ElementsAre("frame(win#1)"));
    EXPECT_EQ(strikes(w1), 0);
}

// MARK: Floors and overshoot

TEST_F(ReconcilerTest, KeptSizeWhileMovingIsAnOvershootAndTheSecondSightingAFloor) {
    bridge.add(w1, CGRect(100, 0, 700, 400)).refusesSize();
    EXPECT_THAT(pass(w1, want), IsEmpty()) << "in position, so settled";
    EXPECT_THAT(reconciler.clampedSizes(), IsEmpty());
    EXPECT_THAT(reconciler.unmovedOvershoot(), ElementsAre(Pair(w1, CGSize{700, 0})));
    EXPECT_THAT(reconciler.clampedInLastPass(), IsEmpty());

    // Asked again: the write changes nothing, but the width is the one seen before.
    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_EQ(reconciler.writesInLastPass(), 1);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{700, 0})));
    EXPECT_THAT(reconciler.unmovedOvershoot(), IsEmpty());
    EXPECT_THAT(reconciler.clampedInLastPass(), ElementsAre(w1));

    EXPECT_THAT(pass(w1, want), IsEmpty());
    EXPECT_EQ(reconciler.writesInLastPass(), 0) << "now in place through its floor";
}

TEST_F(ReconcilerTest, FloorsAreLearnedPerDimension) {
    bridge.add(w1, CGRect(0, 0, 800, 900)).clampsToMinimum({0, 450});
    pass(w1, want);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{0, 450})));
    EXPECT_THAT(reconciler.clampedInLastPass(), ElementsAre(w1));

    // A later, wider window grows the width floor too; the height floor stays.
    bridge.window(w1).clampsToMinimum({650, 450}).record.frame = CGRect(20, 0, 900, 450);
    pass(w1, want);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{650, 450})));
    EXPECT_THAT(reconciler.clampedInLastPass(), ElementsAre(w1));
}

TEST_F(ReconcilerTest, FloorSurvivesLargerAsksAndVanishesBelowIt) {
    bridge.add(w1, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    pass(w1, want);
    ASSERT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})));

    pass(w1, CGRect(0, 0, 800, 400));
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})));
    EXPECT_THAT(reconciler.clampedInLastPass(), IsEmpty());

    bridge.window(w1).clampsToMinimum({0, 0});
    pass(w1, CGRect(10, 0, 500, 400));
    EXPECT_THAT(reconciler.clampedSizes(), IsEmpty());
    EXPECT_EQ(bridge.actualFrame(w1), CGRect(10, 0, 500, 400));
}

TEST_F(ReconcilerTest, AFloorDoesNotExcuseBeingAskedForMoreThanIt) {
    bridge.add(w1, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    pass(w1, want);
    // At its floor of 600 but asked for 602: not in place, so it is written.
    pass(w1, CGRect(0, 0, 602, 400));
    EXPECT_EQ(reconciler.writesInLastPass(), 1);
    // Asked for 601, within tolerance of the floor: in place.
    bridge.window(w1).record.frame = CGRect(0, 0, 600, 400);
    pass(w1, CGRect(0, 0, 601, 400));
    EXPECT_EQ(reconciler.writesInLastPass(), 0);
}

// MARK: Order and counting

TEST_F(ReconcilerTest, PlannedWindowsAreTakenInAscendingUnsignedOrder) {
    const WindowID high{0xFFFFFFF0u};
    for (WindowID id : {high, w3, w1, w2})
        bridge.add(id, CGRect(0, 0, 10, 10));
    pass({{high, want}, {w3, want}, {w1, want}, {w2, want}});
    EXPECT_THAT(bridge.writeLog(), ElementsAre("setFrame({0, 0, 500, 400}, win#1)",
                                               "setFrame({0, 0, 500, 400}, win#2)",
                                               "setFrame({0, 0, 500, 400}, win#3)",
                                               "setFrame({0, 0, 500, 400}, win#4294967280)"));
    EXPECT_EQ(reconciler.writesInLastPass(), 4);
}

TEST_F(ReconcilerTest, EveryPassStartsItsReportsAfresh) {
    bridge.add(w1, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    bridge.add(w2, CGRect(5, 5, 5, 5)).unreadable();
    bridge.add(w3, CGRect(0, 0, 500, 400)).minimized();
    pass({{w1, want}, {w2, want}, {w3, CGRect(9, 9, 90, 90)}});
    ASSERT_FALSE(reconciler.clampedInLastPass().empty());
    ASSERT_FALSE(reconciler.unreadableInLastPass().empty());
    ASSERT_FALSE(reconciler.minimizedInLastPass().empty());

    pass(std::map<WindowID, CGRect>{});
    EXPECT_THAT(bridge.callLog(), IsEmpty());
    EXPECT_THAT(reconciler.clampedInLastPass(), IsEmpty());
    EXPECT_THAT(reconciler.unreadableInLastPass(), IsEmpty());
    EXPECT_THAT(reconciler.minimizedInLastPass(), IsEmpty());
    EXPECT_THAT(reconciler.skippedInLastPass(), IsEmpty());
    EXPECT_EQ(reconciler.writesInLastPass(), 0);
    EXPECT_THAT(reconciler.clampedSizes(), ElementsAre(Pair(w1, CGSize{600, 0})))
        << "what was learned stays";
}

// MARK: Ledger

TEST_F(ReconcilerTest, LedgerKeepsTheLastEightDistinctFramesOldestFirst) {
    bridge.add(w1, CGRect(0, 0, 100, 100));
    std::vector<CGRect> written;
    for (int i = 1; i <= 9; ++i) {
        written.emplace_back(10.0 * i, 0, 100, 100);
        pass(w1, written.back());
    }
    EXPECT_EQ(ledgerOf(w1), std::vector<CGRect>(written.begin() + 1, written.end()));

    // A frame within a point of an older entry moves it to the end instead of adding a copy.
    const CGRect again(30.5, 0, 100, 100);
    pass(w1, again);
    std::vector<CGRect> expected = {written[1], written[3], written[4], written[5],
                                    written[6], written[7], written[8], again};
    EXPECT_EQ(ledgerOf(w1), expected);
    EXPECT_EQ(reconciler.settledFrame(w1), again);
}

TEST_F(ReconcilerTest, PlacedRecognisesLedgerFramesWithinTolerance) {
    bridge.add(w1, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    pass(w1, want);
    EXPECT_TRUE(reconciler.placed(CGRect(1, 0, 500, 401), w1));
    EXPECT_TRUE(reconciler.placed(CGRect(0, 0, 600, 400), w1));
    EXPECT_FALSE(reconciler.placed(CGRect(1.5, 0, 500, 400), w1));
    EXPECT_FALSE(reconciler.placed(want, w2));
    EXPECT_EQ(reconciler.settledFrame(w2), std::nullopt);
}

TEST_F(ReconcilerTest, ForgetClearsHistoryButKeepsAZeroStrikeEntry) {
    bridge.add(w1, CGRect(100, 0, 700, 400)).refusesSize();
    pass(w1, want);
    bridge.add(w2, CGRect(0, 0, 700, 400)).clampsToMinimum({600, 0});
    pass(w2, want);
    reconciler.forget(w1);
    reconciler.forget(w2);
    EXPECT_THAT(reconciler.unmovedOvershoot(), IsEmpty());
    EXPECT_THAT(reconciler.clampedSizes(), IsEmpty());
    EXPECT_THAT(reconciler.ledger(), IsEmpty());
    EXPECT_THAT(reconciler.attempts(), UnorderedElementsAre(Pair(w1, 0), Pair(w2, 0)));
    EXPECT_EQ(reconciler.settledFrame(w1), std::nullopt);
}

// MARK: Comparisons

TEST_F(ReconcilerTest, ApproximateEqualityIsInclusiveAndReadsNormalisedRects) {
    const CGRect base(10, 20, 300, 200);
    EXPECT_TRUE(reconciler.approximatelyEqual(base, CGRect(11, 19, 301, 199)));
    EXPECT_FALSE(reconciler.approximatelyEqual(base, CGRect(11.01, 20, 300, 200)));
    EXPECT_FALSE(reconciler.approximatelyEqual(base, CGRect(10, 20, 300, 201.5)));
    EXPECT_TRUE(reconciler.approximatelyEqual(base, CGRect(310, 220, -300, -200)));
    reconciler.setTolerance(0);
    EXPECT_FALSE(reconciler.approximatelyEqual(base, CGRect(10.5, 20, 300, 200)));
}

TEST_F(ReconcilerTest, FloorTestPerDimension) {
    struct Row {
        CGSize size, floor, asked;
        bool sits;
    };
    const Row rows[] = {
        {{600, 400}, {600, 0}, {500, 400}, true},     // at the width floor, height as asked
        {{601, 400}, {600, 0}, {500, 400}, true},     // floor edge inclusive
        {{601.5, 400}, {600, 0}, {500, 400}, false},  // off the floor
        {{600, 400}, {600, 0}, {601, 400}, true},     // asked up to floor + tolerance
        {{600, 400}, {600, 0}, {601.5, 400}, false},  // asked for more than the floor
        {{600, 401}, {600, 0}, {500, 400}, true},     // no height floor: within a point of asked
        {{600, 402}, {600, 0}, {500, 400}, false},   {{500, 400}, {0, 0}, {500, 400}, true},
        {{500, 400}, {-5, 0}, {500, 400}, true},  // a negative floor is no floor
        {{600, 450}, {600, 450}, {100, 100}, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(reconciler.sits(row.size, row.floor, row.asked), row.sits)
            << row.size.width << "x" << row.size.height << " floor " << row.floor.width << "x"
            << row.floor.height << " asked " << row.asked.width << "x" << row.asked.height;
    }
}

}  // namespace
}  // namespace kelvo
