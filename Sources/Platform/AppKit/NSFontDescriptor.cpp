#include "Platform/AppKit/NSFontDescriptor.h"

NSFontDescriptorRef NSFontDescriptor::fontDescriptorWithDesign(NSFontDesign design) const {
    if (design == NSFontDesign::serif) return nullptr;
    return std::make_shared<const NSFontDescriptor>(weight_, design, pointSize_);
}
