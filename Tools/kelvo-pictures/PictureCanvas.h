#pragma once

#include <memory>
#include <string>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSGraphicsContext.h"

namespace kelvo_pictures {

/// A sheet to draw a picture on: top-down points at twice the pixels for sharpness, made the
/// current graphics context while it lives, over a background colour.
class PictureCanvas {
  public:
    static constexpr double scale = 2;

    PictureCanvas(CGSize size, const NSColorRef& background);
    PictureCanvas(const PictureCanvas&) = delete;
    PictureCanvas& operator=(const PictureCanvas&) = delete;

    CGContext& context() { return *bitmap_; }
    /// A line of text with its top left at `at`.
    void label(const std::string& text, CGPoint at, CGFloat size, const NSColorRef& color,
               NSFontWeight weight = NSFontWeightRegular);
    CGImageRef finish() const { return bitmap_->makeImage(); }

  private:
    std::unique_ptr<CGBitmapContext> bitmap_;
    std::unique_ptr<NSGraphicsContext> graphics_;
    std::unique_ptr<NSGraphicsContextScope> current_;
};

}  // namespace kelvo_pictures
