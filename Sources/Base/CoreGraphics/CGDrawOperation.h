#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGAffineTransform.h"
#include "Base/CoreGraphics/CGColor.h"
#include "Base/CoreGraphics/CGGradient.h"
#include "Base/CoreGraphics/CGImage.h"
#include "Base/CoreGraphics/CGPath.h"

typedef struct _cairo cairo_t;

enum class CGLineCap { butt, round, square };
enum class CGLineJoin { miter, round, bevel };

/// How colours meet what is already drawn: over it, clearing it where the source covers, keeping
/// it only where the source covers, or adding to it.
enum class CGBlendMode { normal, destinationOut, destinationIn, plusLighter };

enum class CGInterpolationQuality { defaultQuality, none, low, medium, high };

struct CGStrokeStyle {
    CGFloat lineWidth = 1;
    CGLineCap lineCap = CGLineCap::butt;
    CGLineJoin lineJoin = CGLineJoin::miter;
    CGFloat miterLimit = 10;
    CGFloat dashPhase = 0;
    /// Empty for a solid line.
    std::vector<CGFloat> dashLengths;
    bool operator==(const CGStrokeStyle&) const = default;
};

/// A shadow under everything drawn while it is set: offset and blur in the context's base
/// space (pixels, y growing upwards), not touched by the current transform.
struct CGShadow {
    CGSize offset;
    CGFloat blur = 0;
    CGColorValue color;
    bool operator==(const CGShadow&) const = default;
    bool isVisible() const { return color.clamped().alpha > 0; }
};

struct CGGradientDrawing {
    CGGradientRef gradient;
    CGPoint start;
    CGPoint end;
    /// For a radial gradient: the circles' radii.
    CGFloat startRadius = 0;
    CGFloat endRadius = 0;
    unsigned options = 0;
};

/// A run of text laid out by the text system above: what it says and in which font, the
/// rectangle of its lines, and how to paint it.
struct CGTextDrawing {
    std::string text;
    /// The font's family and style, for instance "Carlito Bold".
    std::string fontName;
    CGFloat pointSize = 0;
    /// The lines' rectangle in user space.
    CGRect box;
    /// The colour of the first character.
    CGColorValue color;
    /// Paints the text with the top left corner of `box` at the origin, y growing downwards,
    /// one unit a point.
    std::function<void(cairo_t*)> paint;
};

/// One clip of the graphics state: an area in the user space it was made in, or an image's
/// alpha over a rectangle.
struct CGClipRecord {
    CGPath path;
    CGPathFillRule rule = CGPathFillRule::winding;
    CGAffineTransform ctm;
    CGImageRef mask;
    CGRect maskRect;
};

enum class CGDrawOperationKind {
    fillPath,
    strokePath,
    linearGradient,
    radialGradient,
    image,
    text,
    /// What is drawn until the matching end is composed as one picture, with the alpha, blend
    /// mode, shadow and clip in force at the beginning.
    beginTransparencyLayer,
    endTransparencyLayer,
};

/// One drawing operation with everything that decides its pixels: its geometry in user space,
/// the transform to base space, and the graphics state it was drawn in.
struct CGDrawOperation {
    CGDrawOperationKind kind = CGDrawOperationKind::fillPath;
    CGAffineTransform ctm;
    /// The filled or stroked path.
    CGPath path;
    CGPathFillRule fillRule = CGPathFillRule::winding;
    /// The fill or stroke colour.
    CGColorValue color;
    CGStrokeStyle stroke;
    std::optional<CGGradientDrawing> gradient;
    CGImageRef image;
    /// Where an image is drawn.
    CGRect rect;
    CGInterpolationQuality interpolation = CGInterpolationQuality::defaultQuality;
    std::optional<CGTextDrawing> text;
    CGFloat alpha = 1;
    CGBlendMode blendMode = CGBlendMode::normal;
    CGShadow shadow;
    bool antialias = true;
    /// Every clip in force, the first made first.
    std::vector<CGClipRecord> clips;
};
