#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "Base/CoreGraphics/CGRecordingContext.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

/// A recording context whose user space runs top-down over an image 183 × 18 points high, as
/// the drawing handlers of flipped images see it.
class RecordingTest : public ::testing::Test {
  protected:
    RecordingTest() {
        context.translateBy(0, 18);
        context.scaleBy(1, -1);
    }
    CGRecordingContext context{CGSize{183, 18}};
    const CGAffineTransform flipped{1, 0, 0, -1, 0, 18};
};

TEST_F(RecordingTest, ARoundedRectangleIsOneFillWithItsPathColourAndTransform) {
    CGPath tile;
    tile.addRoundedRect(CGRect(20, 1.5, 15, 15), 3);
    context.setFillColor(CGColorCreateGenericGray(0, 1));
    context.addPath(tile);
    context.fillPath();
    const auto& ops = context.operations();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, CGDrawOperationKind::fillPath);
    EXPECT_EQ(ops[0].path, tile);
    EXPECT_EQ(ops[0].path.boundingBox(), CGRect(20, 1.5, 15, 15));
    EXPECT_EQ(ops[0].fillRule, CGPathFillRule::winding);
    EXPECT_EQ(ops[0].ctm, flipped);
    EXPECT_EQ(ops[0].color, (CGColorValue{0, 0, 0, 1}));
    EXPECT_EQ(ops[0].blendMode, CGBlendMode::normal);
    EXPECT_TRUE(context.isPathEmpty());
}

TEST_F(RecordingTest, AnArcIsStrokedWithTheLineStyleInForce) {
    context.setStrokeColor(CGColorCreateSRGB(0.13, 0.83, 0.93, 0.92));
    context.setLineWidth(1.5);
    context.setLineCap(CGLineCap::round);
    context.setLineDash(0, {2, 1});
    context.addArc({11, 8}, 5.1, 0.6108652381980153, 5.235987755982989, false);
    context.strokePath();
    const auto strokes = context.operations(CGDrawOperationKind::strokePath);
    ASSERT_EQ(strokes.size(), 1u);
    const auto& op = strokes[0];
    EXPECT_EQ(op.stroke.lineWidth, 1.5);
    EXPECT_EQ(op.stroke.lineCap, CGLineCap::round);
    EXPECT_EQ(op.stroke.dashLengths, (std::vector<CGFloat>{2, 1}));
    EXPECT_EQ(op.color, (CGColorValue{0.13, 0.83, 0.93, 0.92}));
    const CGPoint start = op.path.elements().front().points[0];
    EXPECT_NEAR(start.x, 11 + 5.1 * std::cos(0.6108652381980153), 1e-9);
    EXPECT_NEAR(start.y, 8 + 5.1 * std::sin(0.6108652381980153), 1e-9);
    const auto& last = op.path.elements().back();
    EXPECT_NEAR(last.points[2].x, 11 + 5.1 * 0.5, 1e-9);
    EXPECT_NEAR(last.points[2].y, 8 - 5.1 * std::sqrt(3) / 2, 1e-9);
}

TEST_F(RecordingTest, AGradientFillIsTheGradientInsideTheClipOfItsShape) {
    CGPath panes;
    panes.addRect(CGRect(0, 0, 100, 23.5));
    const auto gradient = CGGradient::make(
        {CGColorCreateSRGB(0.05, 0.58, 0.66, 1), CGColorCreateSRGB(0.13, 0.83, 0.93, 1),
         CGColorCreateSRGB(0.65, 0.93, 0.98, 1)},
        {0, 0.5, 1});
    ASSERT_TRUE(gradient);
    context.saveGState();
    context.addPath(panes);
    context.clip();
    context.drawLinearGradient(
        gradient, {100, 100}, {0, 0},
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    context.restoreGState();
    context.fill(CGRect(0, 0, 1, 1));
    const auto& ops = context.operations();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, CGDrawOperationKind::linearGradient);
    ASSERT_TRUE(ops[0].gradient);
    EXPECT_EQ(ops[0].gradient->start, (CGPoint{100, 100}));
    EXPECT_EQ(ops[0].gradient->end, (CGPoint{0, 0}));
    EXPECT_EQ(ops[0].gradient->gradient->stops().size(), 3u);
    EXPECT_EQ(ops[0].gradient->options, 3u);
    ASSERT_EQ(ops[0].clips.size(), 1u);
    EXPECT_EQ(ops[0].clips[0].path, panes);
    EXPECT_EQ(ops[0].clips[0].ctm, flipped);
    // The restore dropped the clip.
    EXPECT_TRUE(ops[1].clips.empty());
}

TEST_F(RecordingTest, ADestinationOutTextIsACutOfItsRunWithTheRunsAlpha) {
    const CGRect tile(38, 1.5, 15, 15);
    context.fill(tile);
    context.saveGState();
    context.setBlendMode(CGBlendMode::destinationOut);
    CGTextDrawing number;
    number.text = "2";
    number.fontName = "Carlito Bold";
    number.pointSize = 11;
    number.box = CGRect(41.9, 2.6, 7.2, 12.8);
    number.color = CGColorValue{0, 0, 0, 0.8};
    number.paint = [](cairo_t*) {};
    context.drawText(number);
    context.restoreGState();
    const auto& ops = context.operations();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].kind, CGDrawOperationKind::text);
    EXPECT_EQ(ops[1].blendMode, CGBlendMode::destinationOut);
    EXPECT_EQ(ops[1].text->text, "2");
    EXPECT_EQ(ops[1].text->color.alpha, 0.8);
    EXPECT_EQ(ops[1].text->box, CGRect(41.9, 2.6, 7.2, 12.8));
    EXPECT_EQ(context.blendMode(), CGBlendMode::normal);
}

TEST_F(RecordingTest, TheTransformAndItsInverseFollowSaveAndRestore) {
    context.saveGState();
    context.translateBy(10, 5);
    context.scaleBy(2, 2);
    context.rotate(std::numbers::pi / 2);
    const CGAffineTransform ctm = context.ctm();
    const CGPoint p = CGPointApplyAffineTransform({1, 0}, ctm);
    EXPECT_NEAR(p.x, 10, 1e-9);
    EXPECT_NEAR(p.y, 18 - 5 - 2, 1e-9);
    const CGPoint back = CGPointApplyAffineTransform(p, ctm.inverted());
    EXPECT_NEAR(back.x, 1, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
    context.restoreGState();
    EXPECT_EQ(context.ctm(), flipped);
    // A restore without a save changes nothing.
    context.restoreGState();
    EXPECT_EQ(context.ctm(), flipped);
}

TEST_F(RecordingTest, APathBuiltBeforeATransformStaysWhereItWasOnThePage) {
    context.addRect(CGRect(0, 0, 10, 10));
    context.translateBy(100, 0);
    context.fillPath();
    const auto& op = context.operations().at(0);
    const CGRect onPage = CGRectApplyAffineTransform(op.path.boundingBox(), op.ctm);
    EXPECT_EQ(onPage, CGRect(0, 8, 10, 10));
}

TEST_F(RecordingTest, ATransparencyLayerIsComposedWithTheStateOfItsBeginning) {
    context.setAlpha(0.5);
    context.setShadow(CGSize{0, -3}, 4);
    context.beginTransparencyLayer();
    context.fill(CGRect(0, 0, 5, 5));
    context.endTransparencyLayer();
    const auto& ops = context.operations();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, CGDrawOperationKind::beginTransparencyLayer);
    EXPECT_EQ(ops[0].alpha, 0.5);
    EXPECT_TRUE(ops[0].shadow.isVisible());
    EXPECT_EQ(ops[1].alpha, 1);
    EXPECT_FALSE(ops[1].shadow.isVisible());
    EXPECT_EQ(ops[2].kind, CGDrawOperationKind::endTransparencyLayer);
    context.endTransparencyLayer();  // none open: nothing
    EXPECT_EQ(context.operations().size(), 3u);
}

TEST_F(RecordingTest, BadGeometryAndEmptyThingsDrawNothing) {
    context.fillPath();  // an empty path
    context.strokePath();
    context.fill(CGRect(nan, 0, 10, 10));
    context.fill(CGRect(0, 0, inf, 10));
    context.draw(nullptr, CGRect(0, 0, 10, 10));
    context.drawLinearGradient(nullptr, {0, 0}, {1, 1}, 0);
    context.drawText(CGTextDrawing{});
    context.setLineWidth(nan);
    context.setAlpha(nan);
    context.setShadow(CGSize{inf, 0}, 3);
    context.saveGState();
    context.scaleBy(0, 1);
    context.fill(CGRect(0, 0, 10, 10));
    context.restoreGState();
    context.saveGState();
    context.translateBy(nan, 0);
    context.fill(CGRect(0, 0, 10, 10));
    context.restoreGState();
    EXPECT_TRUE(context.operations().empty());
    context.fill(CGRect(0, 0, 10, 10));
    ASSERT_EQ(context.operations().size(), 1u);
    EXPECT_EQ(context.operations()[0].stroke.lineWidth, 1);
    EXPECT_EQ(context.operations()[0].alpha, 1);
    EXPECT_FALSE(context.operations()[0].shadow.isVisible());
}

}  // namespace
