#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "Base/CoreGraphics/CGBitmapContext.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

/// A 40 × 30 bitmap, as drawing code sees it: y grows upwards from the bottom left.
class BitmapTest : public ::testing::Test {
  protected:
    CGPixel at(int x, int y) {
        image = context->makeImage();
        return image->pixel(x, y).value_or(CGPixel{-1, -1, -1, -1});
    }
    std::unique_ptr<CGBitmapContext> context = CGBitmapContext::make(40, 30);
    CGImageRef image;
};

TEST_F(BitmapTest, AFilledRectangleHasItsColourAndAlphaAndNothingElseIsTouched) {
    context->setFillColor(CGColorCreateSRGB(1, 0.5, 0, 0.6));
    context->fill(CGRect(10, 5, 20, 10));
    // Pixel rows count from the top: y 5 to 15 upwards is rows 15 to 24.
    const CGPixel inside = at(20, 20);
    EXPECT_EQ(inside.alpha, 153);
    EXPECT_EQ(inside.red, 255);
    EXPECT_NEAR(inside.green, 128, 1);
    EXPECT_EQ(inside.blue, 0);
    EXPECT_EQ(at(20, 10).alpha, 0);
    EXPECT_EQ(at(5, 20).alpha, 0);
}

TEST_F(BitmapTest, DestinationOutClearsAsMuchAsTheSourceCovers) {
    context->setFillColor(CGColorCreateGenericGray(0, 1));
    context->fill(CGRect(0, 0, 40, 30));
    context->saveGState();
    context->setBlendMode(CGBlendMode::destinationOut);
    context->setFillColor(CGColorCreateGenericGray(0, 0.8));
    context->fill(CGRect(0, 0, 20, 30));
    context->restoreGState();
    EXPECT_EQ(at(10, 10).alpha, 51);  // 80 % cleared
    EXPECT_EQ(at(30, 10).alpha, 255);
    // The text painter cuts the same way.
    CGTextDrawing cut;
    cut.box = CGRect(20, 0, 20, 30);
    cut.paint = [](cairo_t* cr) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
        cairo_rectangle(cr, 0, 0, 20, 30);
        cairo_fill(cr);
    };
    context->setBlendMode(CGBlendMode::destinationOut);
    context->drawText(cut);
    EXPECT_EQ(at(30, 10).alpha, 51);
}

TEST_F(BitmapTest, DestinationInKeepsOnlyWhatTheSourceCovers) {
    context->setFillColor(CGColorCreateGenericGray(1, 1));
    context->fill(CGRect(0, 0, 40, 30));
    const auto fade =
        CGGradient::make({CGColorCreateGenericGray(0, 1), CGColorCreateGenericGray(0, 0)}, {0, 1});
    context->setBlendMode(CGBlendMode::destinationIn);
    context->drawLinearGradient(fade, {0, 0}, {40, 0}, 0);
    EXPECT_GT(at(2, 10).alpha, 230);
    EXPECT_NEAR(at(20, 10).alpha, 128, 4);
    EXPECT_LT(at(38, 10).alpha, 20);
}

TEST_F(BitmapTest, PlusLighterAddsColours) {
    context->setFillColor(CGColorCreateSRGB(0.4, 0, 0, 1));
    context->fill(CGRect(0, 0, 40, 30));
    context->setBlendMode(CGBlendMode::plusLighter);
    context->setFillColor(CGColorCreateSRGB(0.4, 0.2, 0, 1));
    context->fill(CGRect(0, 0, 40, 30));
    EXPECT_NEAR(at(5, 5).red, 204, 1);
    EXPECT_NEAR(at(5, 5).green, 51, 1);
}

TEST_F(BitmapTest, EvenOddLeavesTheInnerRectangleEmpty) {
    context->addRect(CGRect(0, 0, 40, 30));
    context->addRect(CGRect(10, 10, 20, 10));
    context->fillPath(CGPathFillRule::evenOdd);
    EXPECT_EQ(at(20, 15).alpha, 0);
    EXPECT_EQ(at(5, 5).alpha, 255);
    context->addRect(CGRect(0, 0, 40, 30));
    context->addRect(CGRect(10, 10, 20, 10));
    context->fillPath();
    EXPECT_EQ(at(20, 15).alpha, 255);
}

TEST_F(BitmapTest, AClipKeepsDrawingInsideIt) {
    context->clip(CGRect(0, 0, 20, 30));
    context->fill(CGRect(0, 0, 40, 30));
    EXPECT_EQ(at(10, 10).alpha, 255);
    EXPECT_EQ(at(30, 10).alpha, 0);

    // Clearing reaches past the clip, and the pixels read in place agree with an image's.
    context->clear();
    EXPECT_EQ(at(10, 10).alpha, 0);
    context->fill(CGRect(0, 0, 40, 30));
    EXPECT_EQ(context->pixels()[10 * context->rowLength() + 10], 0xFF000000u);
    EXPECT_EQ(context->pixels()[10 * context->rowLength() + 30], 0u);
}

TEST_F(BitmapTest, AnImageIsDrawnUprightAndStretchedOverItsRectangle) {
    // A 2 × 2 image: red on the top row, blue on the bottom one.
    auto source = CGBitmapContext::make(2, 2);
    source->setFillColor(CGColorCreateSRGB(1, 0, 0, 1));
    source->fill(CGRect(0, 1, 2, 1));
    source->setFillColor(CGColorCreateSRGB(0, 0, 1, 1));
    source->fill(CGRect(0, 0, 2, 1));
    const CGImageRef small = source->makeImage();
    ASSERT_EQ(small->pixel(0, 0)->red, 255);
    context->setInterpolationQuality(CGInterpolationQuality::none);
    context->draw(small, CGRect(0, 0, 40, 30));
    EXPECT_EQ(at(20, 5).red, 255);
    EXPECT_EQ(at(20, 25).blue, 255);
    // In a top-down user space the same call shows it upside down, as on the platform.
    context->translateBy(0, 30);
    context->scaleBy(1, -1);
    context->draw(small, CGRect(0, 0, 40, 30));
    EXPECT_EQ(at(20, 5).blue, 255);
}

TEST_F(BitmapTest, AShadowFallsBelowTheShapeAndSpreadsWithItsBlur) {
    context->setShadow(CGSize{0, -6}, 4, CGColorCreateGenericGray(0, 1));
    context->setFillColor(CGColorCreateSRGB(1, 1, 1, 1));
    context->fill(CGRect(10, 15, 20, 10));
    // The shape: rows 5 to 14. Its shadow lies 6 pixels lower, softened at the edges.
    EXPECT_EQ(at(20, 10), (CGPixel{255, 255, 255, 255}));
    const CGPixel under = at(20, 18);
    EXPECT_GT(under.alpha, 200);
    EXPECT_LT(under.red, 40);
    const CGPixel edge = at(20, 22);
    EXPECT_GT(edge.alpha, 0);
    EXPECT_LT(edge.alpha, under.alpha);
    EXPECT_EQ(at(20, 29).alpha, 0);
}

TEST_F(BitmapTest, AShapeOutsideTheBitmapCanCastAShadowIntoIt) {
    context->setShadow(CGSize{0, -100}, 0, CGColorCreateGenericGray(0, 1));
    context->fill(CGRect(10, 110, 20, 10));
    EXPECT_EQ(at(20, 15).alpha, 255);
    EXPECT_EQ(at(5, 15).alpha, 0);
}

TEST_F(BitmapTest, AMaskKeepsTheImagesAlphaAndDropsItsColour) {
    auto source = CGBitmapContext::make(40, 30);
    source->setFillColor(CGColorCreateSRGB(0, 1, 0, 0.5));
    source->fill(CGRect(0, 0, 20, 30));
    const CGImageRef mask = source->makeImage();
    context->clip(CGRect(0, 0, 40, 30), mask);
    context->setFillColor(CGColorCreateSRGB(1, 0, 0, 1));
    context->fill(CGRect(0, 0, 40, 30));
    const CGPixel kept = at(10, 10);
    EXPECT_NEAR(kept.alpha, 128, 1);
    EXPECT_EQ(kept.red, 255);
    EXPECT_EQ(kept.green, 0);
    EXPECT_EQ(at(30, 10).alpha, 0);
}

TEST_F(BitmapTest, AMaskAwayFromTheOriginMasksOnlyItsOwnRectangle) {
    auto source = CGBitmapContext::make(10, 10);
    source->fill(CGRect(0, 0, 5, 10));  // the left half
    context->clip(CGRect(20, 10, 10, 10), source->makeImage());
    context->setFillColor(CGColorCreateSRGB(1, 0, 0, 1));
    context->fill(CGRect(0, 0, 40, 30));
    // Rows count from the top: y 10 to 20 upwards is rows 10 to 19.
    EXPECT_EQ(at(22, 15).alpha, 255);
    EXPECT_EQ(at(22, 15).red, 255);
    EXPECT_EQ(at(27, 15).alpha, 0);
    EXPECT_EQ(at(12, 15).alpha, 0);
    EXPECT_EQ(at(22, 5).alpha, 0);
    EXPECT_EQ(at(22, 25).alpha, 0);
}

TEST_F(BitmapTest, ATransparencyLayerIsComposedAtItsAlphaAsOnePicture) {
    context->setAlpha(0.5);
    context->beginTransparencyLayer();
    context->fill(CGRect(0, 0, 30, 30));
    context->fill(CGRect(10, 0, 30, 30));  // overlapping: one picture, not two layers of alpha
    context->endTransparencyLayer();
    EXPECT_NEAR(at(20, 10).alpha, 128, 1);
    EXPECT_NEAR(at(5, 10).alpha, 128, 1);
}

TEST_F(BitmapTest, AScaledBitmapDrawsPointsAsSeveralPixels) {
    auto sharp = CGBitmapContext::make(CGSize{10.5, 4}, 2);
    ASSERT_TRUE(sharp);
    EXPECT_EQ(sharp->width(), 21);
    EXPECT_EQ(sharp->height(), 8);
    sharp->fill(CGRect(0, 0, 1, 1));
    const CGImageRef picture = sharp->makeImage();
    EXPECT_EQ(picture->pixel(1, 7)->alpha, 255);
    EXPECT_EQ(picture->pixel(2, 7)->alpha, 0);
}

TEST_F(BitmapTest, PNGDataReadsBackPixelForPixel) {
    context->setFillColor(CGColorCreateSRGB(0.2, 0.4, 0.6, 1));
    context->fill(CGRect(0, 0, 10, 10));
    image = context->makeImage();
    const auto png = image->pngData();
    ASSERT_GT(png.size(), 8u);
    const CGImageRef back = CGImage::fromPNG(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width(), 40);
    EXPECT_EQ(back->pixel(5, 25), image->pixel(5, 25));
    const auto file = std::filesystem::temp_directory_path() / "kelvo-cg-test.png";
    ASSERT_TRUE(image->writePNG(file.string()));
    EXPECT_EQ(CGImage::fromPNGFile(file.string())->pixel(5, 25), image->pixel(5, 25));
    std::filesystem::remove(file);
    EXPECT_FALSE(CGImage::fromPNG({1, 2, 3}));
    EXPECT_FALSE(CGImage::fromPNG({}));
    EXPECT_FALSE(CGImage::fromPNGFile("/nonexistent/picture.png"));
}

TEST_F(BitmapTest, NoBitmapIsMadeWithoutPixelsOrWithTooMany) {
    EXPECT_FALSE(CGBitmapContext::make(0, 10));
    EXPECT_FALSE(CGBitmapContext::make(10, -1));
    EXPECT_FALSE(CGBitmapContext::make(CGBitmapContext::maximumSide + 1, 1));
    EXPECT_FALSE(CGBitmapContext::make(CGSize{0, 18}, 2));
    EXPECT_FALSE(CGBitmapContext::make(CGSize{nan, 18}, 1));
    EXPECT_FALSE(CGBitmapContext::make(CGSize{18, 18}, nan));
    EXPECT_FALSE(CGBitmapContext::make(CGSize{1e300, 18}, 1));
    EXPECT_FALSE(CGImage::adopt(nullptr));
}

TEST_F(BitmapTest, BadInputLeavesTheBitmapAsItWasAndDrawingGoesOn) {
    context->setShadow(CGSize{1, 1}, 1e9, CGColorCreateGenericGray(0, 1));
    context->setLineDash(0, {0, 0});
    context->setLineWidth(1e12);
    context->addArc({1e15, 1e15}, 1e15, 0, 1, false);
    context->strokePath();
    context->setShadow(CGSize{}, 0, nullptr);
    context->setLineWidth(1);
    context->scaleBy(nan, nan);
    context->fill(CGRect(0, 0, 10, 10));
    context->concatenate(CGAffineTransform::identity());
    context->saveGState();
    context->clip(CGRect(nan, 0, 1, 1));
    context->restoreGState();
    context->draw(nullptr, CGRect(0, 0, 1, 1));
    auto fresh = CGBitmapContext::make(40, 30);
    fresh->setFillColor(CGColorCreateSRGB(nan, 2, -1, 1));
    fresh->fill(CGRect(0, 0, 10, 10));
    const CGPixel clamped = fresh->makeImage()->pixel(5, 25).value();
    EXPECT_EQ(clamped, (CGPixel{0, 255, 0, 255}));
}

}  // namespace
