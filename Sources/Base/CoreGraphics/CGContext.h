#pragma once

#include <vector>

#include "Base/CoreGraphics/CGDrawOperation.h"

/// A drawing destination with the platform's graphics state: a current transform from user
/// space to the context's base space (y growing upwards from the bottom left), colours, line
/// style, alpha, blend mode, shadow and clip, saved and restored as a stack; a current path;
/// and the drawing operations. Each operation is handed, with the state it was made in, to
/// the kind of context: a bitmap context paints pixels, a recording context keeps it.
///
/// Bad input never breaks a context: a point, length or transform that is not finite, a
/// transform that cannot be inverted, an empty path or a missing image or gradient draws
/// nothing, and the context goes on drawing what comes next.
class CGContext {
  public:
    virtual ~CGContext() = default;
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    // The graphics state.
    void saveGState();
    /// Back to the state of the matching save; without one, nothing changes.
    void restoreGState();
    void translateBy(CGFloat x, CGFloat y);
    void scaleBy(CGFloat sx, CGFloat sy);
    /// Rotates user space by `angle` radians (counterclockwise when y grows upwards).
    void rotate(CGFloat angle);
    void concatenate(const CGAffineTransform& transform);
    /// The current transform, from user space to base space.
    CGAffineTransform ctm() const { return state_.ctm; }
    void setFillColor(const CGColorRef& color);
    void setStrokeColor(const CGColorRef& color);
    void setLineWidth(CGFloat width);
    void setLineCap(CGLineCap cap);
    void setLineJoin(CGLineJoin join);
    void setMiterLimit(CGFloat limit);
    /// Dashes of the given lengths (empty for a solid line), starting `phase` into the pattern.
    void setLineDash(CGFloat phase, const std::vector<CGFloat>& lengths);
    /// Multiplies everything drawn; limited to 0 to 1.
    void setAlpha(CGFloat alpha);
    void setBlendMode(CGBlendMode mode);
    CGBlendMode blendMode() const { return state_.blendMode; }
    /// A shadow in black at one third opacity.
    void setShadow(CGSize offset, CGFloat blur);
    /// A shadow in the colour; no colour turns the shadow off.
    void setShadow(CGSize offset, CGFloat blur, const CGColorRef& color);
    void setShouldAntialias(bool antialias);
    void setInterpolationQuality(CGInterpolationQuality quality);

    // The current path, in user space.
    void beginPath();
    void move(CGPoint to);
    void addLine(CGPoint to);
    void addQuadCurve(CGPoint to, CGPoint control);
    void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
    void closePath();
    void addRect(const CGRect& rect);
    void addEllipse(const CGRect& rect);
    void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                bool clockwise);
    void addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius);
    void addPath(const CGPath& path);
    bool isPathEmpty() const { return path_.isEmpty(); }

    // Drawing. Filling, stroking and clipping use up the current path.
    void fillPath(CGPathFillRule rule = CGPathFillRule::winding);
    void strokePath();
    void fill(const CGRect& rect);
    void stroke(const CGRect& rect);
    void fillEllipse(const CGRect& rect);
    /// Intersects the clip with the current path.
    void clip(CGPathFillRule rule = CGPathFillRule::winding);
    void clip(const CGRect& rect);
    /// Intersects the clip with the alpha of `mask` stretched over `rect`.
    void clip(const CGRect& rect, const CGImageRef& mask);
    void drawLinearGradient(const CGGradientRef& gradient, CGPoint start, CGPoint end,
                            unsigned options);
    void drawRadialGradient(const CGGradientRef& gradient, CGPoint startCenter, CGFloat startRadius,
                            CGPoint endCenter, CGFloat endRadius, unsigned options);
    /// The image stretched over `rect`, upright when y grows upwards.
    void draw(const CGImageRef& image, const CGRect& rect);
    /// A run of text laid out by the text system (its painter draws it).
    void drawText(CGTextDrawing text);
    /// Until the matching end, drawing goes into a picture of its own, composed at the end with
    /// the alpha, blend mode, shadow and clip in force now.
    void beginTransparencyLayer();
    void endTransparencyLayer();

    /// What has been drawn, as an image; null for a context that keeps no pixels.
    virtual CGImageRef makeImage() const { return nullptr; }

  protected:
    explicit CGContext(CGAffineTransform baseCTM = {});
    /// Paints or keeps one operation; only operations that can draw something come here.
    virtual void perform(const CGDrawOperation& operation) = 0;

  private:
    struct GState {
        CGAffineTransform ctm;
        CGColorValue fillColor{0, 0, 0, 1};
        CGColorValue strokeColor{0, 0, 0, 1};
        CGStrokeStyle stroke;
        CGFloat alpha = 1;
        CGBlendMode blendMode = CGBlendMode::normal;
        CGShadow shadow;
        bool antialias = true;
        CGInterpolationQuality interpolation = CGInterpolationQuality::defaultQuality;
        std::vector<CGClipRecord> clips;
    };

    CGDrawOperation operation(CGDrawOperationKind kind) const;
    /// Hands the operation on when the transform can draw it.
    void submit(const CGDrawOperation& operation);
    /// The current path, in the current user space (taken out of the context).
    CGPath takePath();
    /// Keeps the current path where it is on the page when the transform changes.
    void setCTM(const CGAffineTransform& ctm);
    CGPath& pathForAdding();

    GState state_;
    std::vector<GState> saved_;
    /// How deep the stack of saved states was at each open transparency layer.
    std::vector<std::size_t> layers_;
    CGPath path_;
    CGAffineTransform pathCTM_;
};
