#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/QuartzCore/CALayer.h"

/// A plain view: a frame and, once it wants one, a layer that draws it. The view is its layer's
/// delegate and answers every action with the null action, so that a view's layer never
/// animates a change by itself.
class NSView : public CALayerDelegate {
  public:
    explicit NSView(CGRect frame = {}) : frame_(frame) {}
    ~NSView() override;
    NSView(const NSView&) = delete;
    NSView& operator=(const NSView&) = delete;

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame) { frame_ = frame; }
    bool wantsLayer() const { return wantsLayer_; }
    /// Gives the view a layer when it has none.
    void setWantsLayer(bool wants);
    const CALayerRef& layer() const { return layer_; }
    void setLayer(CALayerRef layer);

    /// Told when the layer changes (the window passes it on to the desktop).
    void setOnLayerChange(std::function<void()> onChange);

    std::optional<CAAnimationRef> actionForLayer(const CALayer& layer,
                                                 const std::string& key) override;

  private:
    void wireLayer();

    CGRect frame_;
    bool wantsLayer_ = false;
    CALayerRef layer_;
    std::function<void()> onLayerChange_;
};
using NSViewRef = std::shared_ptr<NSView>;
