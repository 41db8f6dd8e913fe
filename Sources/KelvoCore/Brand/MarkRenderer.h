#pragma once

#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Base/CoreGraphics/CGImage.h"
#include "KelvoCore/Brand/Brand.h"

namespace kelvo {

/// Renders the mark into square bitmaps of any size: the navy squircle, the glow and the three
/// panes in their cyan gradient. Callers cache what it renders.
class MarkRenderer {
  public:
    /// Shown at this many points or fewer, the mark gets only its tightest glow layer.
    static constexpr CGFloat fullGlowAbove = 32;
    /// How far the glow's panes are lifted out of the picture, in design units, so that only
    /// their shadows land on the canvas.
    static constexpr CGFloat glowLift = 400;
    /// Where along the diagonal the glow has faded out, and where its mask ends.
    static constexpr CGFloat glowFadeStop = 0.52;
    static constexpr CGFloat glowMaskEnd = 95;

    /// The mark in a `pixels` × `pixels` bitmap to be shown at `points`; null when no bitmap
    /// can be made.
    static CGImageRef render(int pixels, CGFloat points);
    /// The glow alone in a `pixels` × `pixels` bitmap; null when no bitmap can be made.
    static CGImageRef halationImage(int pixels, const std::vector<Brand::Halation>& layers);

    /// The glow layers drawn for a mark shown at `points`.
    static std::vector<Brand::Halation> glowLayers(CGFloat points);
    /// Draws the mark into a context whose base space is a `pixels` square with y growing
    /// upwards, with the glow image given (none: no glow).
    static void drawMark(CGContext& context, int pixels, const CGImageRef& halation);
    /// Draws the glow into such a context.
    static void drawHalation(CGContext& context, int pixels,
                             const std::vector<Brand::Halation>& layers);

  private:
    /// Turns base space into design units: y downwards, the mark inset from every edge.
    static void enterDesignSpace(CGContext& context, int pixels);
    static CGFloat designScale(int pixels);
};

}  // namespace kelvo
