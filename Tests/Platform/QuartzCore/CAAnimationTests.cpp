#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Base/Foundation/ManualClock.h"
#include "Platform/QuartzCore/CALayer.h"
#include "Platform/QuartzCore/CATransaction.h"

namespace {

/// A layer on the manual clock that animates nothing by itself, as a view's layer does.
class LayerAnimationTest : public ::testing::Test {
  protected:
    LayerAnimationTest() { layer->setActions({{"opacity", nullptr}, {"transform", nullptr}}); }
    double elapsed() const { return secondsBetween(ManualClock::startTime, clock.now()); }
    double scale() const { return layer->presentationValues().transform.m11; }
    double opacity() const { return layer->presentationValues().opacity; }

    ManualClock clock;
    CALayerRef layer = std::make_shared<CALayer>();
};

std::shared_ptr<CABasicAnimation> scaleIn() {
    auto animation = CABasicAnimation::animationWithKeyPath("transform.scale");
    animation->setFromValue(0.94);
    animation->setToValue(1);
    animation->setDuration(0.18);
    animation->setTimingFunction(
        CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeInEaseOut));
    return animation;
}

TEST_F(LayerAnimationTest, AScaleInFollowsTheEaseInEaseOutCurveOnTheClock) {
    layer->setTransform(CATransform3DMakeScale(0.94, 0.94, 1));
    layer->addAnimation(scaleIn(), "scaleIn");
    layer->setTransform(CATransform3DIdentity);
    EXPECT_DOUBLE_EQ(scale(), 0.94);
    clock.advance(0.045);
    // Slow at first: less than a quarter of the way after a quarter of the time.
    const double quarter = (scale() - 0.94) / 0.06;
    EXPECT_GT(quarter, 0.05);
    EXPECT_LT(quarter, 0.25);
    EXPECT_NEAR(scale(), 0.94775, 1e-5);  // the curve's value at a quarter, 0.12916
    clock.advance(0.045);
    EXPECT_NEAR(scale(), 0.97, 1e-9);  // the curve is symmetric about its middle
    clock.advance(0.09);
    EXPECT_DOUBLE_EQ(scale(), 1);
    EXPECT_TRUE(layer->animationKeys().empty());
    // The model held its value throughout.
    EXPECT_EQ(layer->transform(), CATransform3DIdentity);
}

TEST_F(LayerAnimationTest, TheStopIsToldOnceOnTheMainQueueAtTheEndTime) {
    std::vector<std::pair<bool, double>> stops;
    auto animation = scaleIn();
    animation->setDidStop([&](bool finished) { stops.emplace_back(finished, elapsed()); });
    layer->addAnimation(animation, "scaleIn");
    clock.advance(0.179);
    EXPECT_TRUE(stops.empty());
    clock.advance(0.5);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_TRUE(stops[0].first);
    EXPECT_NEAR(stops[0].second, 0.18, 1e-9);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(LayerAnimationTest, ARemovedAnimationLeavesTheModelValueAndStopsUnfinished) {
    std::vector<bool> stops;
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(1);
    fade->setToValue(0.2);
    fade->setDuration(1);
    fade->setDidStop([&](bool finished) { stops.push_back(finished); });
    layer->setOpacity(0.6f);
    layer->addAnimation(fade, "fade");
    clock.advance(0.5);
    EXPECT_NEAR(opacity(), 0.6, 1e-6);  // halfway from 1 to 0.2
    layer->removeAnimation("fade");
    EXPECT_FLOAT_EQ(opacity(), 0.6f);
    clock.runUntilIdle();
    EXPECT_EQ(stops, std::vector<bool>{false});
    clock.advance(1);
    EXPECT_EQ(stops, std::vector<bool>{false});
}

TEST_F(LayerAnimationTest, AForwardsFillThatIsNotRemovedHoldsItsLastValueUntilRemoved) {
    auto scaleOut = CABasicAnimation::animationWithKeyPath("transform.scale");
    scaleOut->setFromValue(1);
    scaleOut->setToValue(0.96);
    scaleOut->setDuration(0.34);
    scaleOut->setFillMode(CAMediaTimingFillMode::forwards);
    scaleOut->setRemovedOnCompletion(false);
    layer->addAnimation(scaleOut, "scaleOut");
    clock.advance(1);
    EXPECT_DOUBLE_EQ(scale(), 0.96);
    EXPECT_EQ(layer->animationKeys(), std::vector<std::string>{"scaleOut"});
    layer->removeAnimation("scaleOut");
    EXPECT_DOUBLE_EQ(scale(), 1);
}

TEST_F(LayerAnimationTest, AnAnimationOfTheSameKeyReplacesTheRunningOne) {
    std::vector<bool> firstStops;
    auto first = scaleIn();
    first->setDidStop([&](bool finished) { firstStops.push_back(finished); });
    layer->addAnimation(first, "scale");
    clock.advance(0.1);
    auto second = scaleIn();
    second->setFromValue(0.5);
    layer->addAnimation(second, "scale");
    EXPECT_DOUBLE_EQ(scale(), 0.5);
    clock.advance(1);
    EXPECT_EQ(firstStops, std::vector<bool>{false});
    // Changing the animation after adding it changes nothing that runs.
    auto third = scaleIn();
    layer->addAnimation(third, "scale");
    third->setFromValue(0.1);
    EXPECT_DOUBLE_EQ(scale(), 0.94);
}

TEST_F(LayerAnimationTest, AGroupRunsItsChildrenOnItsOwnTimeLine) {
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(0);
    fade->setToValue(1);
    fade->setDuration(0.1);
    fade->setBeginTime(0.1);
    auto grow = scaleIn();
    grow->setDuration(0.1);
    auto group = std::make_shared<CAAnimationGroup>();
    group->setAnimations({fade, grow});
    group->setDuration(0.2);
    layer->addAnimation(group, "both");
    clock.advance(0.05);
    EXPECT_FLOAT_EQ(opacity(), 1);  // the fade has not begun and does not fill backwards
    EXPECT_GT(scale(), 0.94);
    clock.advance(0.1);
    EXPECT_NEAR(opacity(), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(scale(), 1);  // the scale is over but the group is not: it fills nothing
    clock.advance(0.1);
    EXPECT_TRUE(layer->animationKeys().empty());
}

TEST_F(LayerAnimationTest, ALayerOfItsOwnAnimatesChangesUnlessActionsSayOtherwise) {
    const CALayerRef own = std::make_shared<CALayer>();
    own->setOpacity(0.5f);
    EXPECT_EQ(own->animationKeys(), std::vector<std::string>{"opacity"});
    EXPECT_FLOAT_EQ(own->presentationValues().opacity, 1);
    clock.advance(CATransaction::defaultAnimationDuration);
    EXPECT_FLOAT_EQ(own->presentationValues().opacity, 0.5);
    // A transaction that disables actions, a null action in the map: no animation.
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    own->setOpacity(1);
    CATransaction::commit();
    own->setActions({{"opacity", nullptr}});
    own->setOpacity(0.2f);
    EXPECT_TRUE(own->animationKeys().empty());
    // An action of the map is run in its place.
    auto slow = CABasicAnimation::animationWithKeyPath("opacity");
    slow->setDuration(2);
    own->setActions({{"opacity", slow}});
    own->setOpacity(1);
    clock.advance(1);
    EXPECT_NEAR(own->presentationValues().opacity, 0.6, 1e-6);
    // A scale animates through its scale; another transform does not animate.
    own->setTransform(CATransform3DMakeScale(2, 2, 1));
    EXPECT_EQ(own->animationForKey("transform") != nullptr, true);
    own->removeAllAnimations();
    own->setTransform(CATransform3DMakeScale(1, 3, 1));
    EXPECT_FALSE(own->animationForKey("transform"));
}

TEST_F(LayerAnimationTest, ATransactionsCompletionWaitsForItsAnimations) {
    std::vector<double> done;
    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { done.push_back(elapsed()); });
    layer->addAnimation(scaleIn(), "a");
    CATransaction::begin();
    auto longer = scaleIn();
    longer->setDuration(0.3);
    layer->addAnimation(longer, "b");
    CATransaction::commit();
    CATransaction::commit();
    clock.advance(0.2);
    EXPECT_TRUE(done.empty());
    clock.advance(0.2);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NEAR(done[0], 0.3, 1e-9);
    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { done.push_back(elapsed()); });
    CATransaction::commit();
    clock.runUntilIdle();
    EXPECT_EQ(done.size(), 2u);
}

TEST_F(LayerAnimationTest, AnimationsEndWithTheirLayer) {
    bool told = false;
    {
        const CALayerRef brief = std::make_shared<CALayer>();
        auto animation = scaleIn();
        animation->setDidStop([&](bool) { told = true; });
        brief->addAnimation(animation, "scale");
    }
    clock.advance(1);
    EXPECT_FALSE(told);
}

TEST(CAMediaTimingFunctionTest, TheNamedCurvesMeetTheirEndsAndEaseInBetween) {
    const auto ease = CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeInEaseOut);
    EXPECT_EQ(ease->controlPoint1(), (CGPoint{0.42, 0}));
    EXPECT_EQ(ease->controlPoint2(), (CGPoint{0.58, 1}));
    EXPECT_EQ(ease->valueAt(0), 0);
    EXPECT_EQ(ease->valueAt(1), 1);
    EXPECT_NEAR(ease->valueAt(0.5), 0.5, 1e-12);
    EXPECT_NEAR(ease->valueAt(0.25) + ease->valueAt(0.75), 1, 1e-9);
    EXPECT_EQ(ease->valueAt(std::nan("")), 0);
    EXPECT_EQ(ease->valueAt(-3), 0);
    EXPECT_EQ(ease->valueAt(7), 1);
    const auto linear = CAMediaTimingFunction::named(CAMediaTimingFunctionName::linear);
    EXPECT_NEAR(linear->valueAt(0.3), 0.3, 1e-9);
    const auto easeIn = CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeIn);
    EXPECT_LT(easeIn->valueAt(0.5), 0.5);
}

TEST(CALayerTreeTest, AFrameIsTheBoundsPlacedWithTheAnchorAtThePosition) {
    CALayer layer;
    layer.setFrame(CGRect(10, 20, 160, 160));
    EXPECT_EQ(layer.bounds(), CGRect(0, 0, 160, 160));
    EXPECT_EQ(layer.position(), (CGPoint{90, 100}));
    layer.setAnchorPoint({0, 0});
    EXPECT_EQ(layer.frame(), CGRect(90, 100, 160, 160));
    layer.setFrame(CGRect(0, 0, std::nan(""), 4));
    EXPECT_EQ(layer.frame(), CGRect(90, 100, 160, 160));
}

TEST(CALayerTreeTest, SublayersMoveBetweenSuperlayersAndNeverHoldTheirOwnAncestors) {
    const auto root = std::make_shared<CALayer>();
    const auto child = std::make_shared<CALayer>();
    const auto other = std::make_shared<CALayer>();
    root->addSublayer(child);
    EXPECT_EQ(child->superlayer(), root.get());
    other->addSublayer(child);
    EXPECT_TRUE(root->sublayers().empty());
    EXPECT_EQ(child->superlayer(), other.get());
    child->addSublayer(other);  // would make a circle
    EXPECT_TRUE(child->sublayers().empty());
    child->addSublayer(child);
    EXPECT_TRUE(child->sublayers().empty());
    child->removeFromSuperlayer();
    EXPECT_TRUE(other->sublayers().empty());
    EXPECT_EQ(child->superlayer(), nullptr);
}

}  // namespace
