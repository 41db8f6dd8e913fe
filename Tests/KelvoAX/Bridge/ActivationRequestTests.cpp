#include <gtest/gtest.h>

#include "KelvoAX/Bridge/ActivationRequest.h"

namespace kelvo {
namespace {

constexpr pid_t asked = 101;
constexpr pid_t before = 202;
constexpr pid_t other = 303;

TEST(ActivationRequestTest, WhileTheActivationHasNotTakenNobodyHasChosen) {
    ActivationRequest request(asked, before);
    // The application that was in front is still there: the request was dropped, or is late.
    EXPECT_EQ(request.chosenInstead(before), std::nullopt);
    EXPECT_EQ(request.chosenInstead(std::nullopt), std::nullopt);
    request.noteActivated(before);  // news of an earlier switch to it, arriving late
    EXPECT_EQ(request.chosenInstead(before), std::nullopt);
}

TEST(ActivationRequestTest, TheAskedForApplicationInFrontIsNoChoice) {
    ActivationRequest request(asked, before);
    request.noteActivated(asked);
    EXPECT_EQ(request.chosenInstead(asked), std::nullopt);
}

TEST(ActivationRequestTest, AnyOtherApplicationComingToTheFrontIsAChoice) {
    ActivationRequest request(asked, before);
    request.noteActivated(other);
    EXPECT_EQ(request.chosenInstead(before), other);
    // Once chosen, the request stays overruled even if the asked-for one comes forward later.
    request.noteActivated(asked);
    EXPECT_EQ(request.chosenInstead(asked), other);
}

TEST(ActivationRequestTest, AnotherApplicationInFrontCountsBeforeItsNewsArrives) {
    const ActivationRequest request(asked, before);
    EXPECT_EQ(request.chosenInstead(other), other);
}

TEST(ActivationRequestTest, TheFormerFrontApplicationComingBackAfterTheActivationTookIsAChoice) {
    ActivationRequest request(asked, before);
    request.noteActivated(asked);
    EXPECT_EQ(request.chosenInstead(before), before) << "in front again, its news on the way";
    request.noteActivated(before);
    EXPECT_EQ(request.chosenInstead(asked), before);
}

TEST(ActivationRequestTest, WithNothingInFrontBeforeEveryOtherApplicationIsAChoice) {
    ActivationRequest request(asked, std::nullopt);
    EXPECT_EQ(request.chosenInstead(std::nullopt), std::nullopt);
    request.noteActivated(before);
    EXPECT_EQ(request.chosenInstead(std::nullopt), before);
}

}  // namespace
}  // namespace kelvo
