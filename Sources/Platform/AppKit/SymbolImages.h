#pragma once

#include <string>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Platform/AppKit/NSImage.h"

/// The system symbols the system's windows show, each drawn by us from paths as a simple
/// picture of its meaning: on a canvas 24 units high (1.1 times the point size), with lines
/// whose width follows the weight, in black, so that the image is used as a template. Parts of
/// a filled symbol (the mark in a filled circle) are cut out of it.
class SymbolImages {
  public:
    /// Draws the symbol in a top-down user space of units, with lines of `line` units.
    using Drawing = void (*)(CGContext& context, double line);

    struct Symbol {
        const char* name;
        /// The canvas's width in units.
        double width;
        Drawing draw;
    };

    struct Metrics {
        CGSize size;
        /// Points a unit.
        double unit = 0;
        /// The weight's line width, in units.
        double line = 0;
    };

    static constexpr double canvasHeight = 24;
    /// The image's height for a point size.
    static constexpr double heightPerPoint = 1.1;

    /// Every symbol, in the order of the sheet that shows them.
    static const std::vector<Symbol>& all();
    /// None for a name that is no symbol here.
    static const Symbol* find(const std::string& name);
    static Metrics metrics(const Symbol& symbol, const NSImageSymbolConfiguration& configuration);
    /// The line width, in units, of a weight: thin lines for light weights, heavy for heavy.
    static double lineWidth(NSFontWeight weight);
    /// Draws the symbol over (0, 0, metrics.size) of a top-down user space.
    static void draw(const Symbol& symbol, const Metrics& metrics, CGContext& context);
};
