#include <gtest/gtest.h>

#include <limits>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/NSImage.h"
#include "Support/Platform/DrawingCanvas.h"

namespace {

using kelvo::testing::DrawingCanvas;

/// A 20 × 10 image whose handler fills its top-left quarter (10 × 5) as its context sees it.
NSImageRef quarter(bool flipped) {
    return std::make_shared<NSImage>(CGSize{20, 10}, flipped, [flipped](const CGRect& bounds) {
        EXPECT_EQ(bounds, CGRect(0, 0, 20, 10));
        EXPECT_EQ(NSGraphicsContext::currentContext()->isFlipped(), flipped);
        NSColor::blackColor()->setFill();
        NSBezierPath::fillRect(flipped ? CGRect(0, 0, 10, 5) : CGRect(0, 5, 10, 5));
        return true;
    });
}

TEST(NSImageTest, AFlippedHandlerDrawsTopDownAndAnUnflippedOneBottomUp) {
    for (const bool flipped : {true, false}) {
        const CGImageRef pixels = quarter(flipped)->CGImageForScale(1);
        ASSERT_TRUE(pixels);
        EXPECT_EQ(pixels->width(), 20);
        EXPECT_EQ(pixels->height(), 10);
        EXPECT_EQ(pixels->pixel(2, 2)->alpha, 255) << flipped;
        EXPECT_EQ(pixels->pixel(2, 8)->alpha, 0) << flipped;
        EXPECT_EQ(pixels->pixel(15, 2)->alpha, 0) << flipped;
    }
}

TEST(NSImageTest, ABitmapAtTwiceTheScaleHasTwiceThePixels) {
    const CGImageRef sharp = quarter(true)->CGImageForScale(2);
    ASSERT_TRUE(sharp);
    EXPECT_EQ(sharp->width(), 40);
    EXPECT_EQ(sharp->pixel(19, 9)->alpha, 255);
    EXPECT_EQ(sharp->pixel(21, 9)->alpha, 0);
    EXPECT_EQ(quarter(true)->CGImageForScale(2)->height(), 20);
}

TEST(NSImageTest, DrawingAnImageKeepsItUprightInAFlippedOrUnflippedContext) {
    const NSImageRef image = quarter(true);
    for (const bool flipped : {false, true}) {
        DrawingCanvas canvas(CGSize{40, 20}, flipped);
        image->drawInRect(CGRect(0, 0, 40, 20));
        const CGImageRef drawn = canvas.image();
        EXPECT_EQ(drawn->pixel(5, 3)->alpha, 255) << flipped;
        EXPECT_EQ(drawn->pixel(5, 15)->alpha, 0) << flipped;
    }
}

TEST(NSImageTest, ATemplateImageTintedKeepsItsAlphaAndDropsItsColour) {
    auto image = std::make_shared<NSImage>(CGSize{10, 10}, false, [](const CGRect&) {
        NSColor::colorWithSRGBRed(0.1, 0.9, 0.3, 0.5)->setFill();
        NSBezierPath::fillRect(CGRect(0, 0, 5, 10));
        NSColor::colorWithSRGBRed(0, 0, 1, 1)->setFill();
        NSBezierPath::fillRect(CGRect(5, 0, 5, 10));
        return true;
    });
    image->setTemplate(true);
    const NSImageRef tinted = image->imageTintedWithColor(NSColor::colorWithSRGBRed(1, 0, 0, 1));
    const CGImageRef pixels = tinted->CGImageForScale(1);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels->pixel(2, 5).value(), (CGPixel{255, 0, 0, 128}));
    EXPECT_EQ(pixels->pixel(7, 5).value(), (CGPixel{255, 0, 0, 255}));
}

TEST(NSImageTest, ItsPNGReadsBackAsItsPixels) {
    const NSImageRef image = quarter(true);
    const auto png = image->PNGRepresentation();
    const CGImageRef back = CGImage::fromPNG(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixel(2, 2), image->CGImageForScale(1)->pixel(2, 2));
    const NSBitmapImageRep rep(image->CGImageForScale(1));
    EXPECT_EQ(rep.pixelsWide(), 20);
    EXPECT_EQ(rep.colorAtX(2, 2)->alphaComponent(), 1);
    EXPECT_FALSE(rep.colorAtX(-1, 2));
    EXPECT_FALSE(rep.colorAtX(20, 2));
}

TEST(NSImageTest, ABitmapImageTakesItsPixelSizeWhenGivenNone) {
    const NSImage image(quarter(true)->CGImageForScale(2), CGSize{});
    EXPECT_EQ(image.size(), (CGSize{40, 20}));
    CGRecordingContext recording;
    EXPECT_TRUE(image.renderInContext(recording));
    ASSERT_EQ(recording.operations().size(), 1u);
    EXPECT_EQ(recording.operations()[0].kind, CGDrawOperationKind::image);
    EXPECT_EQ(recording.operations()[0].rect, CGRect(0, 0, 40, 20));
}

TEST(NSImageTest, AnImageWithoutAreaOrAWorkingHandlerHasNoPixels) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    int runs = 0;
    const auto counting = [&](const CGRect&) {
        ++runs;
        return true;
    };
    EXPECT_FALSE(NSImage(CGSize{0, 18}, true, counting).CGImageForScale(1));
    EXPECT_FALSE(NSImage(CGSize{nan, 18}, true, counting).CGImageForScale(1));
    EXPECT_FALSE(NSImage(CGSize{-3, 18}, true, counting).CGImageForScale(1));
    EXPECT_FALSE(NSImage(CGSize{1e9, 18}, true, counting).CGImageForScale(1));
    EXPECT_FALSE(NSImage(CGSize{10, 10}, true, counting).CGImageForScale(nan));
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(
        NSImage(CGSize{10, 10}, true, [](const CGRect&) { return false; }).CGImageForScale(1));
    EXPECT_FALSE(NSImage(CGSize{10, 10}, true, nullptr).CGImageForScale(1));
    EXPECT_FALSE(NSImage(nullptr, CGSize{}).CGImageForScale(1));
    EXPECT_TRUE(NSImage(CGSize{0, 0}, true, counting).PNGRepresentation().empty());
    // Drawing one without a current context, or into no area, does nothing.
    quarter(true)->drawInRect(CGRect(0, 0, 10, 10));
    CGRecordingContext recording;
    NSGraphicsContext graphics(recording, false);
    NSGraphicsContextScope scope(graphics);
    quarter(true)->drawInRect(CGRect(0, 0, 0, 10));
    NSImage(CGSize{}, true, counting).drawInRect(CGRect(0, 0, 10, 10));
    EXPECT_TRUE(recording.operations().empty());
}

TEST(NSGraphicsContextTest, TheCompositingOperationIsPartOfTheSavedState) {
    CGRecordingContext recording;
    NSGraphicsContext graphics(recording, true);
    NSGraphicsContext::setCurrentContext(&graphics);
    NSGraphicsContext::saveGraphicsState();
    graphics.setCompositingOperation(NSCompositingOperation::destinationOut);
    EXPECT_EQ(graphics.compositingOperation(), NSCompositingOperation::destinationOut);
    NSGraphicsContext::restoreGraphicsState();
    EXPECT_EQ(graphics.compositingOperation(), NSCompositingOperation::sourceOver);
    NSGraphicsContext::restoreGraphicsState();  // nothing saved: nothing changes
    EXPECT_EQ(NSGraphicsContext::currentContext(), &graphics);
    NSGraphicsContext::setCurrentContext(nullptr);
}

}  // namespace
