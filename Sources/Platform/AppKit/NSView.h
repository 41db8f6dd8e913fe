#pragma once

#include <functional>
#include <memory>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/CALayer.h"

/// A plain view: a frame and, once it wants one, a layer that draws it.
class NSView {
  public:
    explicit NSView(CGRect frame = {}) : frame_(frame) {}
    virtual ~NSView() = default;

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame) { frame_ = frame; }
    bool wantsLayer() const { return wantsLayer_; }
    /// Gives the view a layer when it has none.
    void setWantsLayer(bool wants);
    const CALayerRef& layer() const { return layer_; }
    void setLayer(CALayerRef layer);

    /// Told when the layer changes (the window passes it on to the desktop).
    void setOnLayerChange(std::function<void()> onChange);

  private:
    void wireLayer();

    CGRect frame_;
    bool wantsLayer_ = false;
    CALayerRef layer_;
    std::function<void()> onLayerChange_;
};
using NSViewRef = std::shared_ptr<NSView>;
