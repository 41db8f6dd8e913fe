#include "Platform/SwiftUI/Font.h"

#include "Base/Text/DecimalText.h"

namespace SwiftUI {

NSFontWeight nsFontWeight(Font::Weight weight) {
    switch (weight) {
        case Font::Weight::ultraLight:
            return NSFontWeightUltraLight;
        case Font::Weight::thin:
            return NSFontWeightThin;
        case Font::Weight::light:
            return NSFontWeightLight;
        case Font::Weight::regular:
            return NSFontWeightRegular;
        case Font::Weight::medium:
            return NSFontWeightMedium;
        case Font::Weight::semibold:
            return NSFontWeightSemibold;
        case Font::Weight::bold:
            return NSFontWeightBold;
        case Font::Weight::heavy:
            return NSFontWeightHeavy;
        case Font::Weight::black:
            return NSFontWeightBlack;
    }
    return NSFontWeightRegular;
}

namespace {

NSFontDesign nsFontDesign(Font::Design design) {
    switch (design) {
        case Font::Design::rounded:
            return NSFontDesign::rounded;
        case Font::Design::monospaced:
            return NSFontDesign::monospaced;
        case Font::Design::serif:
        case Font::Design::standard:
            return NSFontDesign::standard;
    }
    return NSFontDesign::standard;
}

}  // namespace

NSFontRef Font::nsFont() const {
    return std::make_shared<const NSFont>(size, nsFontWeight(weight), nsFontDesign(design));
}

std::string Font::description() const {
    return nsFont()->displayName() + " " + kelvo::DecimalText::withoutPointZero(size);
}

}  // namespace SwiftUI
