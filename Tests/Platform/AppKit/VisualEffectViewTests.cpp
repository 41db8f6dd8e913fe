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

}  // namespace
}  // namespace kelvo
