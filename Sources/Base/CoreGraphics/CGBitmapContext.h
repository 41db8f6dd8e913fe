#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"

/// A context that paints into a bitmap of 32-bit ARGB pixels with premultiplied alpha, with
/// cairo. Base space is the bitmap's pixels with the origin at the bottom left and y growing
/// upwards; a bitmap made for a size in points at a scale starts with user space in points.
/// Shadows are blurred here: cairo has no blur of its own.
class CGBitmapContext final : public CGContext {
  public:
    /// The largest bitmap made, in pixels in either direction.
    static constexpr int maximumSide = 8192;

    /// A transparent bitmap; null when a side is not positive or above `maximumSide`.
    static std::unique_ptr<CGBitmapContext> make(int width, int height);
    /// A bitmap for `size` points at `scale` pixels a point (each side rounded up), with user
    /// space scaled to points; null when a size or the scale is not positive or not finite.
    static std::unique_ptr<CGBitmapContext> make(CGSize size, CGFloat scale);

    ~CGBitmapContext() override;

    int width() const { return width_; }
    int height() const { return height_; }
    CGImageRef makeImage() const override;

  protected:
    void perform(const CGDrawOperation& op) override;

  private:
    /// Paints an operation's content into a cairo target, given base space's transform to the
    /// target's device space and an alpha.
    using Painting =
        std::function<void(cairo_t*, const CGAffineTransform& baseToDevice, double alpha)>;

    CGBitmapContext(cairo_surface_t* surface, CGAffineTransform base);
    /// Paints with the operation's clip, blend mode and shadow.
    void compose(const CGDrawOperation& op, const Painting& paint);
    void paintShadow(const CGDrawOperation& op, const Painting& paint);
    CGAffineTransform baseToDevice() const;

    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_;
    int height_;
    /// The beginnings of the transparency layers being drawn, innermost last.
    std::vector<CGDrawOperation> openLayers_;
};
