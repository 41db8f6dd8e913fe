#pragma once

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Color/HexColor.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/QuartzCore/CALayer.h"

namespace kelvo {

/// The thin coloured frame around the focused window: one of the system's own panels,
/// borderless, transparent and click-through, one point larger than the window on every side,
/// whose layer draws only a border. It never activates the application and never takes a
/// click; the coordinator hides it by ordering the panel out.
class FocusBorder {
  public:
    static constexpr double borderWidth = 2.0;
    static constexpr double outset = 1.0;
    static constexpr double fallbackOpacity = 0.35;
    static constexpr double fallbackCornerRadius = 17;
    static constexpr double maximumCornerRadius = 32;
    /// Can join all Spaces, stationary, ignored by window cycling.
    static constexpr NSWindowCollectionBehavior collectionBehavior =
        NSWindowCollectionBehaviorCanJoinAllSpaces | NSWindowCollectionBehaviorStationary |
        NSWindowCollectionBehaviorIgnoresCycle;

    /// Builds the panel, not shown, with the appearance applied.
    FocusBorder(HexColor color, double opacity, double cornerRadius);
    FocusBorder(const FocusBorder&) = delete;
    FocusBorder& operator=(const FocusBorder&) = delete;

    /// Colour, opacity and corner radius at once, not animated.
    void setAppearance(HexColor color, double opacity, double cornerRadius);
    /// Puts the border around a window frame given in top-left coordinates; with no screen it
    /// does nothing, and the same frame again changes nothing.
    void show(const CGRect& axFrame);
    /// Orders a shown border out.
    void hide();
    bool isShown() const { return panel.isVisible(); }
    /// The panel's window-server number, which hit tests look through.
    long windowNumber() const { return panel.windowNumber(); }

    NSPanel panel;
    /// The content view's layer, which draws the border.
    CALayerRef borderLayer;
};

}  // namespace kelvo
