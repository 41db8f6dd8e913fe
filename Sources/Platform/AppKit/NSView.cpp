#include "Platform/AppKit/NSView.h"

void NSView::setWantsLayer(bool wants) {
    wantsLayer_ = wants;
    if (wants && !layer_) setLayer(std::make_shared<CALayer>());
}

NSView::~NSView() {
    if (layer_) {
        layer_->setDelegate(nullptr);
        layer_->setOnChange({});
    }
}

void NSView::setLayer(CALayerRef layer) {
    if (layer_) layer_->setDelegate(nullptr);
    layer_ = std::move(layer);
    if (layer_) layer_->setDelegate(this);
    wireLayer();
    if (onLayerChange_) onLayerChange_();
}

void NSView::setOnLayerChange(std::function<void()> onChange) {
    onLayerChange_ = std::move(onChange);
    wireLayer();
}

void NSView::wireLayer() {
    if (layer_) layer_->setOnChange(onLayerChange_);
}

std::optional<CAAnimationRef> NSView::actionForLayer(const CALayer&, const std::string&) {
    return CAAnimationRef();
}
