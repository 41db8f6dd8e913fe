#pragma once

#include <string>

#include "Platform/AppKit/NSControl.h"
#include "Platform/AppKit/NSImage.h"

enum class NSCellImagePosition {
    noImage,
    imageOnly,
    imageLeft,
    imageRight,
    imageBelow,
    imageAbove,
    imageOverlaps
};
enum class NSImageScaling { proportionallyDown, axesIndependently, none, proportionallyUpOrDown };

/// A push button: an image and a title; pressing it (a release of the mouse over it, or the
/// events its mask names) sends its action.
class NSButton : public NSControl {
  public:
    using NSControl::NSControl;

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const NSImageRef& image() const { return image_; }
    void setImage(NSImageRef image);
    NSCellImagePosition imagePosition() const { return imagePosition_; }
    void setImagePosition(NSCellImagePosition position);
    NSImageScaling imageScaling() const { return imageScaling_; }
    void setImageScaling(NSImageScaling scaling);
    NSControlStateValue state() const { return state_; }
    void setState(NSControlStateValue state);
    /// As a person's click: sends the action.
    virtual void performClick(const void* sender);

    void drawRect(const CGRect& dirtyRect) override;
    void mouseDown(NSEvent& event) override;
    void mouseUp(NSEvent& event) override;
    void rightMouseDown(NSEvent& event) override;
    void rightMouseUp(NSEvent& event) override;
    std::optional<sim::InterfaceElement> accessibilityElement() const override;

  protected:
    /// The image's rectangle in the bounds, as the position and scaling place it.
    CGRect imageRect() const;

  private:
    /// Sends the action when the mask names the event; otherwise hands it on.
    bool actOn(NSEvent& event);

    std::string title_;
    NSImageRef image_;
    NSCellImagePosition imagePosition_ = NSCellImagePosition::imageLeft;
    NSImageScaling imageScaling_ = NSImageScaling::proportionallyDown;
    NSControlStateValue state_ = NSControlStateValueOff;
};
