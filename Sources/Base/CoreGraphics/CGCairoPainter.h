#pragma once

#include "Base/CoreGraphics/CGDrawOperation.h"

/// Paints the content of one drawing operation with cairo: the shape, gradient, image or text
/// itself, without the clip, blend mode and shadow that the bitmap context puts around it.
/// `baseToDevice` maps the context's base space to the device space of the cairo target.
class CGCairoPainter {
  public:
    static void paint(cairo_t* cr, const CGDrawOperation& op, const CGAffineTransform& baseToDevice,
                      double alpha);
    /// Intersects cairo's clip with every path clip of the operation.
    static void clipToPaths(cairo_t* cr, const CGDrawOperation& op,
                            const CGAffineTransform& baseToDevice);
    /// The mask clips' alpha (all of them intersected) in an 8-bit surface that covers only
    /// where they overlap the target, its top left corner at (`x`, `y`) in device pixels.
    struct ImageMask {
        cairo_surface_t* surface = nullptr;
        int x = 0;
        int y = 0;
    };
    /// The image mask of the operation's mask clips; no surface when it has none.
    static ImageMask maskOfImages(const CGDrawOperation& op, const CGAffineTransform& baseToDevice,
                                  int width, int height);
    static void setMatrix(cairo_t* cr, const CGAffineTransform& t);

  private:
    static void appendPath(cairo_t* cr, const CGPath& path);
    static void fill(cairo_t* cr, const CGDrawOperation& op, double alpha);
    static void stroke(cairo_t* cr, const CGDrawOperation& op, double alpha);
    static void gradient(cairo_t* cr, const CGDrawOperation& op, double alpha);
    static void image(cairo_t* cr, const CGImageRef& image, const CGRect& rect,
                      CGInterpolationQuality quality, double alpha);
    static void text(cairo_t* cr, const CGDrawOperation& op, const CGAffineTransform& toDevice,
                     double alpha);
    /// Keeps a gradient drawn with only one of its two extension options to its own side.
    static void clipGradientExtension(cairo_t* cr, const CGGradientDrawing& g, bool radial);
};
