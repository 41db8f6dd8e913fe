#pragma once

#include <string>

#include "Platform/AppKit/NSFont.h"

namespace SwiftUI {

/// The system font at a point size, weight and design; resolved to the drawing layer's fonts
/// when text is measured or drawn.
struct Font {
    enum class Weight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
    /// `standard` is the platform's default design.
    enum class Design { standard, rounded, monospaced, serif };

    CGFloat size = NSFont::systemFontSize;
    Weight weight = Weight::regular;
    Design design = Design::standard;
    bool operator==(const Font&) const = default;

    static Font system(CGFloat size, Weight weight = Weight::regular,
                       Design design = Design::standard) {
        return {size, weight, design};
    }
    /// The platform's body text: the system font of 13 points.
    static Font body() { return {}; }

    Font withWeight(Weight newWeight) const { return {size, newWeight, design}; }
    Font bold() const { return withWeight(Weight::bold); }
    Font monospaced() const { return {size, weight, Design::monospaced}; }

    NSFontRef nsFont() const;
    /// The face and size as the drawing layer names them: "Carlito Bold 13".
    std::string description() const;
};

NSFontWeight nsFontWeight(Font::Weight weight);

}  // namespace SwiftUI
