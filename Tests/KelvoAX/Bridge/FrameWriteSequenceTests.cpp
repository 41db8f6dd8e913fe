#include <gtest/gtest.h>

#include "KelvoAX/Bridge/FrameWriteStep.h"

namespace kelvo {
namespace {

std::string describe(const std::vector<FrameWriteStep>& steps) {
    std::string text;
    for (const FrameWriteStep& step : steps) {
        if (!text.empty()) text += " ";
        text += step.description();
    }
    return text;
}

TEST(FrameWriteSequence, WithoutALastFrameMovesResizesAndMovesAgain) {
    EXPECT_EQ(describe(frameWriteSequence(std::nullopt, CGRect(0, 0, 10, 10), false)),
              "position size position readBack");
}

TEST(FrameWriteSequence, OnlyAStrictlySmallerAreaResizesFirst) {
    const CGRect last(100, 100, 800, 600);
    EXPECT_EQ(describe(frameWriteSequence(last, CGRect(0, 0, 799, 600), false)),
              "size position size readBack");
    // Equal area in another shape, and a larger one, keep the usual order.
    EXPECT_EQ(describe(frameWriteSequence(last, CGRect(0, 0, 600, 800), false)),
              "position size position readBack");
    EXPECT_EQ(describe(frameWriteSequence(last, CGRect(0, 0, 1000, 600), false)),
              "position size position readBack");
}

TEST(FrameWriteSequence, EnhancedInterfaceIsOffAroundTheWritesAndTheReadBack) {
    EXPECT_EQ(describe(frameWriteSequence(std::nullopt, CGRect(0, 0, 10, 10), true)),
              "enhancedUserInterface(false) position size position readBack "
              "enhancedUserInterface(true)");
    EXPECT_EQ(describe(frameWriteSequence(CGRect(0, 0, 50, 50), CGRect(0, 0, 10, 10), true)),
              "enhancedUserInterface(false) size position size readBack "
              "enhancedUserInterface(true)");
}

TEST(FrameWriteSequence, NonFiniteAreasNeverCountAsShrinking) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(describe(frameWriteSequence(CGRect(0, 0, 50, 50), CGRect(0, 0, nan, 10), false)),
              "position size position readBack");
}

TEST(FrameWriteSequence, StepsCompareByKindAndValue) {
    EXPECT_EQ(FrameWriteStep::enhancedUserInterface(true),
              FrameWriteStep::enhancedUserInterface(true));
    EXPECT_NE(FrameWriteStep::enhancedUserInterface(true),
              FrameWriteStep::enhancedUserInterface(false));
    EXPECT_NE(FrameWriteStep::position(), FrameWriteStep::size());
}

}  // namespace
}  // namespace kelvo
