#include "KelvoApp/Services/Overlays/SwitchHUD.h"

#include <string>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Services/Overlays/HUDBackdrop.h"
#include "Platform/AppKit/NSAnimationContext.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/QuartzCore/CAAnimation.h"

namespace kelvo {

namespace {

const char* const scaleInKey = "scaleIn";
const char* const scaleOutKey = "scaleOut";

CAMediaTimingFunctionRef easeInEaseOut() {
    return CAMediaTimingFunction::named(CAMediaTimingFunctionName::easeInEaseOut);
}

std::shared_ptr<CABasicAnimation> scaleAnimation(double from, double to, double duration) {
    auto animation = CABasicAnimation::animationWithKeyPath("transform.scale");
    animation->setFromValue(from);
    animation->setToValue(to);
    animation->setDuration(duration);
    animation->setTimingFunction(easeInEaseOut());
    return animation;
}

}  // namespace

SwitchHUD::SwitchHUD()
    : panel(CGRect(0, 0, side, side), NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered,
            false),
      label(NSTextField::labelWithString("")),
      backdrop(makeHUDBackdrop(CGRect(0, 0, side, side), cornerRadius)) {
    panel.setLevel(level);
    panel.setOpaque(false);
    panel.setBackgroundColor(NSColor::clearColor());
    panel.setHasShadow(false);
    panel.setIgnoresMouseEvents(true);
    panel.setCollectionBehavior(collectionBehavior);
    panel.setAlphaValue(0);

    label->setFont(NSFont::systemFontOfSize(fontSize, NSFontWeightBold));
    label->setAlignment(NSTextAlignment::center);
    label->setTextColor(NSColor::whiteColor());
    label->setFrame(CGRect(0, labelBottom, side, labelHeight));

    const CALayerRef& layer = backdrop->layer();
    // Scaling happens about the centre.
    layer->setAnchorPoint(CGPoint{0.5, 0.5});
    layer->setPosition(CGPoint{side / 2, side / 2});
    backdrop->addSubview(label);
    panel.setContentView(backdrop);
}

void SwitchHUD::show(int desktop) {
    const NSScreenRef screen = NSScreen::mainScreen();
    if (!screen) return;
    const int g = ++generation_;
    label->setStringValue(std::to_string(desktop));
    const CGRect frame = screen->frame();
    panel.setFrameOrigin(CGPoint{frame.midX() - side / 2, frame.midY() - side / 2});
    if (dismissWorkItem_) dismissWorkItem_->cancel();
    panel.orderFrontRegardless();
    if (!isVisible_) {
        scaleIn();
    } else {
        stopScaleOut();
    }
    fadeTo(1, fadeInDuration, guarded(g, &SwitchHUD::scheduleDismiss));
}

void SwitchHUD::scaleIn() {
    const CALayerRef& layer = backdrop->layer();
    layer->setTransform(CATransform3DMakeScale(scaleInFrom, scaleInFrom, 1));
    layer->addAnimation(scaleAnimation(scaleInFrom, 1, fadeInDuration), scaleInKey);
    layer->setTransform(CATransform3DIdentity);
    isVisible_ = true;
}

void SwitchHUD::stopScaleOut() {
    const CALayerRef& layer = backdrop->layer();
    if (!layer->animationForKey(scaleOutKey)) return;
    layer->removeAnimation(scaleOutKey);
    layer->setTransform(CATransform3DIdentity);
}

void SwitchHUD::fadeTo(double alpha, double duration, std::function<void()> completion) {
    NSAnimationContext::runAnimationGroup(
        [&](NSAnimationContext& context) {
            context.setDuration(duration);
            context.setTimingFunction(easeInEaseOut());
            panel.animator().setAlphaValue(alpha);
        },
        std::move(completion));
}

std::function<void()> SwitchHUD::guarded(int generation, void (SwitchHUD::*step)(int)) {
    return [alive = std::weak_ptr<bool>(alive_), this, generation, step] {
        if (!alive.lock() || generation_ != generation) return;
        (this->*step)(generation);
    };
}

void SwitchHUD::scheduleDismiss(int generation) {
    dismissWorkItem_ = DispatchWorkItem(guarded(generation, &SwitchHUD::dismiss));
    DispatchQueue::main().asyncAfter(DispatchTime::now() + restDuration, *dismissWorkItem_);
}

void SwitchHUD::dismiss(int generation) {
    auto shrink = scaleAnimation(1, scaleOutTo, fadeOutDuration);
    shrink->setFillMode(CAMediaTimingFillMode::forwards);
    shrink->setRemovedOnCompletion(false);
    backdrop->layer()->addAnimation(shrink, scaleOutKey);
    fadeTo(0, fadeOutDuration, guarded(generation, &SwitchHUD::finishDismissal));
}

void SwitchHUD::finishDismissal(int) {
    panel.orderOut(nullptr);
    const CALayerRef& layer = backdrop->layer();
    layer->removeAnimation(scaleOutKey);
    layer->setTransform(CATransform3DIdentity);
    isVisible_ = false;
}

}  // namespace kelvo
