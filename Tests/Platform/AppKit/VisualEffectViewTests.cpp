#include <gtest/gtest.h>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSVisualEffectView.h"

namespace kelvo {
namespace {

/// The launcher's backdrop: the heads-up material in a 640 × 60 view whose layer rounds its
/// corners by 20.
std::unique_ptr<NSVisualEffectView> launcherBackdrop() {
    auto view = std::make_unique<NSVisualEffectView>(CGRect(0, 0, 640, 60));
    view->setMaterial(NSVisualEffectMaterial::hudWindow);
    view->setBlendingMode(NSVisualEffectBlendingMode::behindWindow);
    view->setState(NSVisualEffectState::active);
    view->setWantsLayer(true);
    view->layer()->setCornerRadius(20);
    return view;
}

TEST(VisualEffectView, TheHeadsUpMaterialIsADarkTranslucentFillWithTheLayersCorners) {
    const auto view = launcherBackdrop();
    CGRecordingContext context(CGSize{640, 60});
    NSGraphicsContext graphics(context, false);
    {
        NSGraphicsContextScope scope(graphics);
        view->drawRect(CGRect(0, 0, 640, 60));
    }
    ASSERT_EQ(context.operations().size(), 1u);
    const CGDrawOperation& fill = context.operations()[0];
    EXPECT_EQ(fill.kind, CGDrawOperationKind::fillPath);
    EXPECT_EQ(fill.path.boundingBox(), CGRect(0, 0, 640, 60));
    EXPECT_LT(fill.color.red, 0.2);
    EXPECT_GT(fill.color.alpha, 0.5);
    EXPECT_LT(fill.color.alpha, 1);
}

TEST(VisualEffectView, ItsCornersAreCutAway) {
    const auto view = launcherBackdrop();
    auto bitmap = CGBitmapContext::make(CGSize{640, 60}, 1);
    ASSERT_TRUE(bitmap);
    NSGraphicsContext graphics(*bitmap, false);
    {
        NSGraphicsContextScope scope(graphics);
        view->drawRect(CGRect(0, 0, 640, 60));
    }
    const CGImageRef image = bitmap->makeImage();
    EXPECT_EQ(image->pixel(1, 1)->alpha, 0);
    EXPECT_EQ(image->pixel(638, 58)->alpha, 0);
    EXPECT_GT(image->pixel(320, 30)->alpha, 128);
    EXPECT_LT(image->pixel(320, 30)->alpha, 255);
}

TEST(VisualEffectView, ItsLayersBorderShowsOverItsMaterialAndItsSubviews) {
    const auto view = launcherBackdrop();
    view->layer()->setBorderWidth(2);
    view->layer()->setBorderColor(CGColorCreateGenericGray(1, 1));
    auto cover = std::make_shared<NSView>(CGRect(0, 0, 640, 60));
    cover->setWantsLayer(true);
    cover->layer()->setBackgroundColor(CGColorCreateSRGB(1, 0, 0, 1));
    view->addSubview(cover);
    auto bitmap = CGBitmapContext::make(CGSize{640, 60}, 1);
    ASSERT_TRUE(bitmap);
    view->displayInContext(*bitmap);
    const CGImageRef image = bitmap->makeImage();
    for (const auto& [x, y] : {std::pair{320, 0}, {320, 59}, {0, 30}, {639, 30}}) {
        const CGPixel edge = image->pixel(x, y).value();
        EXPECT_EQ(edge.green, 255) << x << "," << y;
        EXPECT_EQ(edge.blue, 255) << x << "," << y;
    }
    const CGPixel inside = image->pixel(320, 30).value();
    EXPECT_EQ(inside.red, 255);
    EXPECT_EQ(inside.green, 0);
}

}  // namespace
}  // namespace kelvo
