#pragma once

#include "Base/CoreGraphics/CGContext.h"

/// How an image or a fill meets what is drawn: over it, or the three modes the system's
/// drawings cut and mask with.
enum class NSCompositingOperation { sourceOver, destinationIn, destinationOut, plusLighter };

enum class NSImageInterpolation { defaultInterpolation, none, low, medium, high };

/// AppKit's view of a Core Graphics context: whether its user space runs top-down (flipped),
/// and the current context of the thread that AppKit's drawing calls draw into.
class NSGraphicsContext {
  public:
    NSGraphicsContext(CGContext& context, bool flipped) : context_(context), flipped_(flipped) {}

    /// The thread's current context; null when nothing is being drawn.
    static NSGraphicsContext* currentContext();
    static void setCurrentContext(NSGraphicsContext* context);
    /// Saves the current context and its graphics state.
    static void saveGraphicsState();
    /// Puts back the context and graphics state of the matching save.
    static void restoreGraphicsState();

    CGContext& cgContext() const { return context_; }
    bool isFlipped() const { return flipped_; }
    /// Part of the graphics state: saved and restored with it.
    NSCompositingOperation compositingOperation() const;
    void setCompositingOperation(NSCompositingOperation operation);
    NSImageInterpolation imageInterpolation() const { return interpolation_; }
    void setImageInterpolation(NSImageInterpolation interpolation);
    void setShouldAntialias(bool antialias) { context_.setShouldAntialias(antialias); }

  private:
    CGContext& context_;
    bool flipped_;
    NSImageInterpolation interpolation_ = NSImageInterpolation::defaultInterpolation;
};

/// Makes a context current for the life of the scope, and puts the former one back.
class NSGraphicsContextScope {
  public:
    explicit NSGraphicsContextScope(NSGraphicsContext& context);
    ~NSGraphicsContextScope();
    NSGraphicsContextScope(const NSGraphicsContextScope&) = delete;
    NSGraphicsContextScope& operator=(const NSGraphicsContextScope&) = delete;

  private:
    NSGraphicsContext* former_;
};
