#pragma once

#include <memory>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Platform/AppKit/NSGraphicsContext.h"

namespace kelvo::testing {

/// A bitmap that AppKit's drawing calls draw into while it lives: it is the current graphics
/// context, with a top-down user space when flipped (as a flipped view's or image's).
class DrawingCanvas {
  public:
    DrawingCanvas(CGSize size, bool flipped, double scale = 1)
        : bitmap_(CGBitmapContext::make(size, scale)) {
        if (flipped) {
            bitmap_->translateBy(0, size.height);
            bitmap_->scaleBy(1, -1);
        }
        graphics_ = std::make_unique<NSGraphicsContext>(*bitmap_, flipped);
        current_ = std::make_unique<NSGraphicsContextScope>(*graphics_);
    }

    CGContext& context() { return *bitmap_; }
    NSGraphicsContext& graphics() { return *graphics_; }
    CGImageRef image() const { return bitmap_->makeImage(); }

  private:
    std::unique_ptr<CGBitmapContext> bitmap_;
    std::unique_ptr<NSGraphicsContext> graphics_;
    std::unique_ptr<NSGraphicsContextScope> current_;
};

}  // namespace kelvo::testing
