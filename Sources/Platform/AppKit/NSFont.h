#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Platform/AppKit/NSFontDescriptor.h"

typedef struct _PangoFontDescription PangoFontDescription;

class NSFont;
using NSFontRef = std::shared_ptr<const NSFont>;

/// A font of the system family, drawn with DejaVu: the standard and rounded designs with
/// DejaVu Sans, the monospaced one with DejaVu Sans Mono; regular and medium weights (and the
/// lighter ones) with the Book face, semibold and heavier with Bold. A point is one unit of
/// user space (one pixel at scale 1).
class NSFont {
  public:
    static constexpr CGFloat systemFontSize = 13;
    static constexpr CGFloat menuFontSize = 14;
    /// Sizes above this are drawn at it.
    static constexpr CGFloat maximumPointSize = 4096;

    /// A size that is not positive (or not a number) gives the system font size.
    static NSFontRef systemFontOfSize(CGFloat size, NSFontWeight weight = NSFontWeightRegular);
    static NSFontRef monospacedSystemFontOfSize(CGFloat size, NSFontWeight weight);
    /// The menus' font; a size of 0 gives their standard size.
    static NSFontRef menuFontOfSize(CGFloat size);
    /// The font a descriptor names, at `size` (0: the descriptor's own size); none for a
    /// descriptor of a design the family has no face of.
    static NSFontRef fontWithDescriptor(const NSFontDescriptor& descriptor, CGFloat size);

    NSFont(CGFloat size, NSFontWeight weight, NSFontDesign design);
    ~NSFont();
    NSFont(const NSFont&) = delete;
    NSFont& operator=(const NSFont&) = delete;

    CGFloat pointSize() const { return size_; }
    NSFontWeight weight() const { return weight_; }
    NSFontDesign design() const { return design_; }
    NSFontDescriptorRef fontDescriptor() const;
    /// "DejaVu Sans" or "DejaVu Sans Mono".
    std::string familyName() const;
    /// The family and face: "DejaVu Sans Bold", "DejaVu Sans Mono Book", …
    std::string displayName() const;
    bool isBold() const;
    /// Distances from the baseline to the top and (negative) to the bottom of the font's lines.
    CGFloat ascender() const;
    CGFloat descender() const;

    /// For the text system.
    const PangoFontDescription* pangoDescription() const { return description_; }

  private:
    void measure() const;

    CGFloat size_;
    NSFontWeight weight_;
    NSFontDesign design_;
    PangoFontDescription* description_;
    mutable std::optional<std::pair<CGFloat, CGFloat>> metrics_;
};
