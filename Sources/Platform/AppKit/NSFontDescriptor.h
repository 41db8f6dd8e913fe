#pragma once

#include <memory>

#include "Base/Foundation/CGGeometry.h"

/// The weight of a font, from -1 (thinnest) to 1 (heaviest).
using NSFontWeight = double;
inline constexpr NSFontWeight NSFontWeightUltraLight = -0.8;
inline constexpr NSFontWeight NSFontWeightThin = -0.6;
inline constexpr NSFontWeight NSFontWeightLight = -0.4;
inline constexpr NSFontWeight NSFontWeightRegular = 0;
inline constexpr NSFontWeight NSFontWeightMedium = 0.23;
inline constexpr NSFontWeight NSFontWeightSemibold = 0.3;
inline constexpr NSFontWeight NSFontWeightBold = 0.4;
inline constexpr NSFontWeight NSFontWeightHeavy = 0.56;
inline constexpr NSFontWeight NSFontWeightBlack = 0.62;

/// The designs of the system font.
enum class NSFontDesign { standard, rounded, monospaced, serif };

class NSFontDescriptor;
using NSFontDescriptorRef = std::shared_ptr<const NSFontDescriptor>;

/// What names a font of the system family: its weight, design and size.
class NSFontDescriptor {
  public:
    NSFontDescriptor(NSFontWeight weight, NSFontDesign design, CGFloat pointSize)
        : weight_(weight), design_(design), pointSize_(pointSize) {}

    /// The same font in another design; none for a design the system font has no face of
    /// here (serif). The rounded design is the standard face.
    NSFontDescriptorRef fontDescriptorWithDesign(NSFontDesign design) const;

    NSFontWeight weight() const { return weight_; }
    NSFontDesign design() const { return design_; }
    CGFloat pointSize() const { return pointSize_; }

  private:
    NSFontWeight weight_;
    NSFontDesign design_;
    CGFloat pointSize_;
};
