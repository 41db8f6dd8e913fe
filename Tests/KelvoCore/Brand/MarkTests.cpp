// The brand's colours, the mark's geometry in its design square, and the mark rendered into
// bitmaps: the glow it gets at each size, where it sits in the image, and what stays clear.

#include <gtest/gtest.h>

#include <algorithm>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "KelvoCore/Brand/Brand.h"
#include "KelvoCore/Brand/Mark.h"
#include "KelvoCore/Brand/MarkRenderer.h"
#include "Support/KelvoCore/Printers.h"

namespace kelvo {
namespace {

void expectRect(const CGRect& actual, const CGRect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

int alphaAt(const CGImageRef& image, int x, int y) {
    return image->pixel(x, y).value_or(CGPixel{}).alpha;
}

TEST(Brand, ColoursAreMadeOnceFromTheirValues) {
    EXPECT_EQ(*Brand::hex(0x22D3EE, 0.5),
              (CGColorValue{34 / 255.0, 211 / 255.0, 238 / 255.0, 0.5}));
    EXPECT_EQ(*Brand::tile(), *Brand::hex(0x2E3F68, 1));
    EXPECT_EQ(Brand::tileTint(), (HexColor{46 / 255.0, 63 / 255.0, 104 / 255.0}));
    EXPECT_EQ(Brand::coral(), (HexColor{1, 122 / 255.0, 96 / 255.0}));
    EXPECT_EQ(Brand::space()->name, kCGColorSpaceSRGB);
    ASSERT_EQ(Brand::rimColors().size(), 3u);
    EXPECT_EQ(*Brand::rimColors()[0], *Brand::hex(0x0E93A8, 1));
    EXPECT_EQ(*Brand::rimColors()[2], *Brand::hex(0xA5EEFA, 1));
}

TEST(Mark, TheSquircleFillsTheDesignSquareFromItsTopMiddle) {
    const CGPath squircle = Mark::squircle();
    const auto& elements = squircle.elements();
    ASSERT_EQ(elements.size(), 10u);
    EXPECT_EQ(elements.front().points[0], (CGPoint{50, 0}));
    EXPECT_EQ(elements[1].type, CGPathElementType::addCurveToPoint);
    EXPECT_EQ(elements[1].points[2], (CGPoint{94.8, 5.2}));
    EXPECT_EQ(elements[3].points[0], (CGPoint{100, 77}));
    EXPECT_EQ(elements.back().type, CGPathElementType::closeSubpath);
    expectRect(squircle.boundingBox(), CGRect(0, 0, 100, 100));
}

TEST(Mark, ThePanesSpanTheSquareWithTheirGaps) {
    const CGPath panes = Mark::panes();
    expectRect(panes.boundingBox(), CGRect(0, 0, 100, 100));
    EXPECT_NEAR(Mark::Pane::paneTop - Mark::Pane::barHeight, 5.263275, 1e-9);
    EXPECT_NEAR(Mark::Pane::rightPaneX - Mark::Pane::paneWidth, 5.2633, 1e-9);
    const auto subpaths = std::count_if(
        panes.elements().begin(), panes.elements().end(),
        [](const CGPathElement& e) { return e.type == CGPathElementType::moveToPoint; });
    EXPECT_EQ(subpaths, 3);
    expectRect(Mark::panes(10).boundingBox(), CGRect(10, 10, 100, 100));
}

TEST(Mark, ARoundedRectStartsAfterItsTopLeftCornerAndKeepsEachRadius) {
    const CGPath path = Mark::roundedRect(CGRect(0, 0, 40, 20), 8, 2, 0, 4);
    EXPECT_EQ(path.elements().front().points[0], (CGPoint{8, 0}));
    expectRect(path.boundingBox(), CGRect(0, 0, 40, 20));
    // The sharp bottom-right corner is on the path itself.
    bool corner = false;
    for (const CGPathElement& e : path.elements())
        for (int i = 0; i < e.pointCount(); ++i)
            corner = corner || e.points[i] == CGPoint{40, 20};
    EXPECT_TRUE(corner);
}

TEST(MarkRenderer, SmallMarksGetOnlyTheTightestGlow) {
    EXPECT_EQ(MarkRenderer::glowLayers(22),
              (std::vector<Brand::Halation>{Brand::halation.front()}));
    EXPECT_EQ(MarkRenderer::glowLayers(32).size(), 1u);
    EXPECT_EQ(MarkRenderer::glowLayers(64).size(), 3u);
}

TEST(MarkRenderer, TheGlowCastsShadowsOfLiftedPanesWidestFirstThenFadesAlongTheDiagonal) {
    CGRecordingContext context(CGSize{128, 128});
    MarkRenderer::drawHalation(context, 128, MarkRenderer::glowLayers(64));
    const auto fills = context.operations(CGDrawOperationKind::fillPath);
    ASSERT_EQ(fills.size(), 3u);
    const CGFloat scale = 128 / 100.0 * Mark::bodyFraction;
    EXPECT_NEAR(fills[0].shadow.blur, 7.0 * scale, 1e-9);
    EXPECT_NEAR(fills[2].shadow.blur, 1.5 * scale, 1e-9);
    EXPECT_NEAR(fills[0].shadow.color.alpha, 0.42 * 1.8, 1e-9);
    EXPECT_NEAR(fills[2].shadow.color.alpha, 0.55 * 1.8, 1e-9);
    EXPECT_EQ(fills[0].shadow.offset, (CGSize{0, -400 * scale}));
    for (const CGDrawOperation& fill : fills) {
        EXPECT_EQ(fill.blendMode, CGBlendMode::plusLighter);
        EXPECT_EQ(fill.color.alpha, 1);
        // Lifted out of the picture: only the shadow lands on the canvas.
        EXPECT_GT(fill.path.applying(fill.ctm).boundingBox().minY(), 128);
    }
    const auto masks = context.operations(CGDrawOperationKind::linearGradient);
    ASSERT_EQ(masks.size(), 1u);
    EXPECT_EQ(masks[0].blendMode, CGBlendMode::destinationIn);
    EXPECT_EQ(masks[0].gradient->end, (CGPoint{95, 95}));
}

TEST(MarkRenderer, TheMarkKeepsItsInsetAndNothingShowsOutsideTheSquircle) {
    const CGImageRef mark = MarkRenderer::render(1024, 512);
    ASSERT_TRUE(mark);
    ASSERT_EQ(mark->width(), 1024);
    // Across the middle the squircle's sides are at 100 and 924 pixels.
    EXPECT_EQ(alphaAt(mark, 99, 512), 0);
    EXPECT_GE(alphaAt(mark, 100, 512), 250);
    EXPECT_GE(alphaAt(mark, 923, 512), 250);
    EXPECT_EQ(alphaAt(mark, 924, 512), 0);
    EXPECT_EQ(alphaAt(mark, 512, 99), 0);
    EXPECT_GE(alphaAt(mark, 512, 100), 250);
    EXPECT_EQ(alphaAt(mark, 512, 924), 0);
    // The squircle's corners are round: the bounding square's corners stay clear.
    for (const auto& [x, y] : {std::pair{110, 110}, {913, 110}, {110, 913}, {913, 913}, {0, 0}})
        EXPECT_EQ(alphaAt(mark, x, y), 0) << x << ", " << y;
}

TEST(MarkRenderer, ThePanesRunFromLightAtTheTopLeftToDarkAtTheBottomRight) {
    const CGImageRef mark = MarkRenderer::render(128, 64);
    ASSERT_TRUE(mark);
    const CGPixel topLeft = *mark->pixel(20, 20);
    const CGPixel bottomRight = *mark->pixel(106, 106);
    EXPECT_GT(topLeft.red + topLeft.green + topLeft.blue,
              bottomRight.red + bottomRight.green + bottomRight.blue);
    // The gap between the lower panes shows the navy ground, 0x0A0E1A.
    EXPECT_EQ(*mark->pixel(64, 100), (CGPixel{10, 14, 26, 255}));
    // Between the bar and the lower panes, towards the top left, the glow lights the ground.
    EXPECT_GT(mark->pixel(20, 39)->green, 35);
    EXPECT_FALSE(MarkRenderer::render(0, 22));
    EXPECT_EQ(MarkRenderer::render(44, 22)->width(), 44);
}

}  // namespace
}  // namespace kelvo
