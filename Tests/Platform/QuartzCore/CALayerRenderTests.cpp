#include <gtest/gtest.h>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Base/Foundation/ManualClock.h"
#include "Platform/QuartzCore/CALayer.h"

namespace {

CGColorRef red() {
    return CGColorCreateSRGB(1, 0, 0, 1);
}

CGColorRef blue() {
    return CGColorCreateSRGB(0, 0, 1, 1);
}

/// A 100 × 100 layer with a 40 × 40 sublayer in its middle.
class LayerRenderTest : public ::testing::Test {
  protected:
    LayerRenderTest() {
        root->setActions({{"opacity", nullptr}, {"transform", nullptr}});
        child->setActions(root->actions());
        root->setBounds(CGRect(0, 0, 100, 100));
        child->setBounds(CGRect(0, 0, 40, 40));
        child->setPosition({50, 50});
        child->setBackgroundColor(blue());
        root->addSublayer(child);
    }
    CGPixel render(int x, int y) {
        auto context = CGBitmapContext::make(100, 100);
        root->renderInContext(*context);
        return context->makeImage()->pixel(x, y).value();
    }

    ManualClock clock;
    CALayerRef root = std::make_shared<CALayer>();
    CALayerRef child = std::make_shared<CALayer>();
};

TEST_F(LayerRenderTest, BackgroundSublayersAndBorderAreDrawnInThatOrder) {
    root->setBackgroundColor(red());
    root->setCornerRadius(10);
    root->setCornerCurve(CALayerCornerCurve::continuous);
    root->setBorderColor(CGColorCreateGenericGray(0, 1));
    root->setBorderWidth(2);
    CGRecordingContext context;
    root->renderInContext(context);
    const auto fills = context.operations(CGDrawOperationKind::fillPath);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].color, *red());
    EXPECT_EQ(fills[0].path.boundingBox(), CGRect(0, 0, 100, 100));
    EXPECT_EQ(fills[1].color, *blue());
    const CGRect placed = CGRectApplyAffineTransform(fills[1].path.boundingBox(), fills[1].ctm);
    EXPECT_EQ(placed, CGRect(30, 30, 40, 40));
    const auto strokes = context.operations(CGDrawOperationKind::strokePath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].stroke.lineWidth, 2);
    EXPECT_EQ(strokes[0].path.boundingBox(), CGRect(1, 1, 98, 98));
    EXPECT_EQ(context.operations().back().kind, CGDrawOperationKind::strokePath);
}

TEST_F(LayerRenderTest, ATransformScalesAboutTheAnchorPoint) {
    child->setTransform(CATransform3DMakeScale(0.5, 0.5, 1));
    EXPECT_EQ(render(50, 50).blue, 255);
    EXPECT_EQ(render(41, 50).alpha, 255);
    EXPECT_EQ(render(39, 50).alpha, 0);
    EXPECT_EQ(render(50, 61).alpha, 0);
    child->setAnchorPoint({0, 0});
    child->setPosition({0, 0});
    // The child's corner now sits at the root's bottom left (y grows upwards).
    EXPECT_EQ(render(5, 95).alpha, 255);
    EXPECT_EQ(render(25, 95).alpha, 0);
}

TEST_F(LayerRenderTest, TheDrawingShowsTheAnimationOfTheMoment) {
    auto grow = CABasicAnimation::animationWithKeyPath("transform.scale");
    grow->setFromValue(0.5);
    grow->setToValue(1);
    grow->setDuration(1);
    child->addAnimation(grow, "grow");
    EXPECT_EQ(render(35, 50).alpha, 0);
    clock.advance(1);
    EXPECT_EQ(render(35, 50).alpha, 255);
    const CALayerRef shown = root->presentation();
    ASSERT_EQ(shown->sublayers().size(), 1u);
    EXPECT_TRUE(shown->sublayers()[0]->animationKeys().empty());
}

TEST_F(LayerRenderTest, OpacityComposesTheLayerAndItsSublayersAsOnePicture) {
    root->setBackgroundColor(red());
    root->setOpacity(0.5f);
    const CGPixel middle = render(50, 50);
    EXPECT_NEAR(middle.alpha, 128, 1);
    EXPECT_EQ(middle.blue, 255);
    EXPECT_EQ(middle.red, 0);
    root->setHidden(true);
    EXPECT_EQ(render(50, 50).alpha, 0);
}

TEST_F(LayerRenderTest, MasksToBoundsClipsSublayersToTheRoundedShape) {
    child->setPosition({0, 0});
    root->setCornerRadius(30);
    EXPECT_EQ(render(2, 97).alpha, 255);
    root->setMasksToBounds(true);
    EXPECT_EQ(render(2, 97).alpha, 0);
    EXPECT_EQ(render(15, 85).alpha, 255);
}

TEST_F(LayerRenderTest, ContentsAndShadowAreDrawn) {
    auto picture = CGBitmapContext::make(2, 2);
    picture->fill(CGRect(0, 0, 2, 2));
    child->setContents(picture->makeImage());
    child->setBackgroundColor(nullptr);
    child->setShadowOpacity(1);
    child->setShadowRadius(0);
    child->setShadowOffset(CGSize{10, -10});
    const CGPixel body = render(50, 50);
    EXPECT_EQ(body, (CGPixel{0, 0, 0, 255}));
    // The shadow lies 10 right and 10 down, beyond the child's own square.
    EXPECT_EQ(render(75, 75).alpha, 255);
    EXPECT_EQ(render(25, 25).alpha, 0);
}

}  // namespace
