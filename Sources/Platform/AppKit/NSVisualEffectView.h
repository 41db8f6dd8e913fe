#pragma once

#include "Base/CoreGraphics/CGColor.h"
#include "Platform/AppKit/NSView.h"

enum class NSVisualEffectMaterial { titlebar, menu, popover, sidebar, hudWindow, windowBackground };
enum class NSVisualEffectBlendingMode { behindWindow, withinWindow };
enum class NSVisualEffectState { followsWindowActiveState, active, inactive };

/// A view whose background is a material: what lies behind it, blurred and tinted. The desktop
/// composes no blur here, so a material is drawn as its tint alone, translucent, with the
/// corners of the view's layer.
class NSVisualEffectView : public NSView {
  public:
    using NSView::NSView;

    NSVisualEffectMaterial material() const { return material_; }
    void setMaterial(NSVisualEffectMaterial material) { material_ = material; }
    NSVisualEffectBlendingMode blendingMode() const { return blendingMode_; }
    void setBlendingMode(NSVisualEffectBlendingMode mode) { blendingMode_ = mode; }
    NSVisualEffectState state() const { return state_; }
    void setState(NSVisualEffectState state) { state_ = state; }

    /// The tint a material is drawn with: the heads-up display's is a dark grey that lets a
    /// fifth of what lies behind show through.
    static CGColorValue tintOf(NSVisualEffectMaterial material);
    /// Fills the bounds with the material's tint, rounded as the layer's corners are.
    void drawRect(const CGRect& dirtyRect) override;

  private:
    NSVisualEffectMaterial material_ = NSVisualEffectMaterial::windowBackground;
    NSVisualEffectBlendingMode blendingMode_ = NSVisualEffectBlendingMode::behindWindow;
    NSVisualEffectState state_ = NSVisualEffectState::followsWindowActiveState;
};
