#include "Platform/AppKit/NSView.h"

void NSView::setWantsLayer(bool wants) {
    wantsLayer_ = wants;
    if (wants && !layer_) setLayer(std::make_shared<CALayer>());
}

void NSView::setLayer(CALayerRef layer) {
    layer_ = std::move(layer);
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
