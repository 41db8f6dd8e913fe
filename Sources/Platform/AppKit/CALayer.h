#pragma once

#include <functional>
#include <memory>

#include "Platform/AppKit/NSColor.h"

// A view's layer, as far as the system's panels draw with one: a border, rounded corners, a
// background and an opacity. Changes are never animated here, so a transaction only groups
// them.

class CALayer {
  public:
    CGColorRef borderColor() const { return borderColor_; }
    void setBorderColor(CGColorRef color);
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    float opacity() const { return opacity_; }
    void setOpacity(float opacity);
    CGColorRef backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(CGColorRef color);

    /// Told after every change (the window that shows the layer passes it on).
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    void changed();

    CGColorRef borderColor_;
    double borderWidth_ = 0;
    double cornerRadius_ = 0;
    float opacity_ = 1;
    CGColorRef backgroundColor_;
    std::function<void()> onChange_;
};
using CALayerRef = std::shared_ptr<CALayer>;

class CATransaction {
  public:
    static void begin();
    static void commit();
    static void setDisableActions(bool disable);
    static bool disableActions();
};
