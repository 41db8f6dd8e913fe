#include <gtest/gtest.h>

#include "KelvoAX/Classification/ActivationSweepRecord.h"
#include "KelvoAX/Classification/AdoptionLadder.h"
#include "KelvoAX/Classification/AdoptionStep.h"

namespace kelvo {
namespace {

std::vector<AdoptionStep> rungs(bool found, bool floating, bool ignoredForNow, bool mayBeEarly,
                                int count = 6) {
    std::vector<AdoptionStep> steps;
    for (int attempt = 0; attempt < count; ++attempt) {
        steps.push_back(adoptionStep(found, floating, attempt, ignoredForNow, mayBeEarly));
    }
    return steps;
}

using Step = AdoptionStep;

TEST(AdoptionStep, FoundFloatingWindowSettlesThenIsAdopted) {
    EXPECT_EQ(rungs(true, true, false, false),
              (std::vector<Step>{Step::retry(0.15), Step::retry(0.3), Step::retry(0.6),
                                 Step::adopt(), Step::adopt(), Step::adopt()}));
    EXPECT_EQ(rungs(true, true, false, true),
              (std::vector<Step>{Step::retry(0.15), Step::retry(0.3), Step::retry(0.6),
                                 Step::retry(1.2), Step::adopt(), Step::adopt()}));
}

TEST(AdoptionStep, FoundTiledWindowIsAdoptedAtOnce) {
    EXPECT_EQ(rungs(true, false, false, false, 3),
              (std::vector<Step>{Step::adopt(), Step::adopt(), Step::adopt()}));
    // The early flag and the provisional set matter only for the other cases.
    EXPECT_EQ(adoptionStep(true, false, 0, true, true), Step::adopt());
}

TEST(AdoptionStep, UnmovableWindowGetsThreeMoreLooks) {
    EXPECT_EQ(rungs(false, false, true, false, 5),
              (std::vector<Step>{Step::retry(0.15), Step::retry(0.3), Step::retry(0.6),
                                 Step::giveUp(), Step::giveUp()}));
}

TEST(AdoptionStep, AbsentWindowGetsOneMoreLook) {
    EXPECT_EQ(rungs(false, false, false, false, 3),
              (std::vector<Step>{Step::retry(0.15), Step::giveUp(), Step::giveUp()}));
    // Not found: the floating verdict of an earlier reading does not count.
    EXPECT_EQ(adoptionStep(false, true, 1, false, true), Step::giveUp());
}

TEST(AdoptionStep, NegativeAttemptCountsAsTheFirst) {
    EXPECT_EQ(adoptionStep(false, false, -1, false, false), Step::retry(0.15));
    EXPECT_EQ(adoptionStep(true, true, -5, false, false), Step::retry(0.15));
}

TEST(AdoptionStep, OnlyRetryCarriesADelay) {
    EXPECT_EQ(Step::retry(0.3).kind(), Step::Kind::retry);
    EXPECT_EQ(Step::retry(0.3).delay(), 0.3);
    EXPECT_EQ(Step::adopt().delay(), std::nullopt);
    EXPECT_EQ(Step::giveUp().delay(), std::nullopt);
    EXPECT_NE(Step::retry(0.3), Step::retry(0.6));
}

TEST(AdoptionLadder, OneLadderPerWindowAndGenerationsAreNeverReused) {
    AdoptionLadder ladder;
    const WindowID a(7), b(9);
    EXPECT_EQ(ladder.begin(a), 1);
    EXPECT_EQ(ladder.begin(a), std::nullopt);
    EXPECT_EQ(ladder.begin(b), 2);
    EXPECT_EQ(ladder.count(), 2u);

    ladder.cancel(a);
    EXPECT_FALSE(ladder.isRunning(a, 1));
    EXPECT_EQ(ladder.begin(a), 3);
    EXPECT_TRUE(ladder.isRunning(a, 3));
    EXPECT_FALSE(ladder.isRunning(a, 1));
    EXPECT_EQ(ladder.issued, 3);
}

TEST(AdoptionLadder, FinishWithAStaleGenerationLeavesTheLadderRunning) {
    AdoptionLadder ladder;
    const WindowID a(7);
    const auto first = ladder.begin(a);
    ladder.cancel(a);
    const auto second = ladder.begin(a);
    ladder.finish(a, *first);
    EXPECT_TRUE(ladder.isRunning(a, *second));
    ladder.finish(a, *second);
    EXPECT_EQ(ladder.count(), 0u);
    EXPECT_EQ(ladder, (AdoptionLadder{{}, 2}));
    // Ending what does not run changes nothing.
    ladder.finish(WindowID(1), 1);
    ladder.cancel(WindowID(1));
    EXPECT_EQ(ladder, (AdoptionLadder{{}, 2}));
}

TEST(ActivationSweepRecord, RefusesOnlyAnUnchangedRecordedSet) {
    ActivationSweepRecord record;
    EXPECT_FALSE(record.refuses("com.example.editor", {}));
    record.record("com.example.editor", {});
    EXPECT_TRUE(record.refuses("com.example.editor", {}));
    EXPECT_FALSE(record.refuses("com.example.editor", {WindowID(3)}));

    record.record("com.example.editor", {WindowID(3), WindowID(4)});
    EXPECT_TRUE(record.refuses("com.example.editor", {WindowID(4), WindowID(3)}));
    EXPECT_FALSE(record.refuses("com.example.editor", {WindowID(3)}));
    EXPECT_FALSE(record.refuses("com.example.other", {WindowID(3), WindowID(4)}));
    EXPECT_EQ(record.count(), 1u);

    record.forget("com.example.editor");
    EXPECT_FALSE(record.refuses("com.example.editor", {WindowID(3), WindowID(4)}));
    EXPECT_EQ(record.count(), 0u);
    record.forget("com.example.never");
}

TEST(ActivationSweepRecord, EquivalentSpellingsAreOneApplication) {
    ActivationSweepRecord record;
    record.record("com.example.caf\u00e9", {WindowID(1)});
    EXPECT_TRUE(record.refuses("com.example.cafe\u0301", {WindowID(1)}));
    record.forget("com.example.cafe\u0301");
    EXPECT_EQ(record.count(), 0u);
}

}  // namespace
}  // namespace kelvo
