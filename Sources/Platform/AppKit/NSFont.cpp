#include "Platform/AppKit/NSFont.h"

#include <pango/pango.h>

#include <algorithm>
#include <cmath>

#include "Platform/AppKit/TextTypesetter.h"

namespace {

CGFloat usableSize(CGFloat size, CGFloat fallback) {
    if (std::isnan(size) || size <= 0) return fallback;
    return std::min(size, NSFont::maximumPointSize);
}

}  // namespace

NSFontRef NSFont::systemFontOfSize(CGFloat size, NSFontWeight weight) {
    return std::make_shared<const NSFont>(usableSize(size, systemFontSize), weight,
                                          NSFontDesign::standard);
}

NSFontRef NSFont::monospacedSystemFontOfSize(CGFloat size, NSFontWeight weight) {
    return std::make_shared<const NSFont>(usableSize(size, systemFontSize), weight,
                                          NSFontDesign::monospaced);
}

NSFontRef NSFont::menuFontOfSize(CGFloat size) {
    return systemFontOfSize(usableSize(size, menuFontSize));
}

NSFontRef NSFont::fontWithDescriptor(const NSFontDescriptor& descriptor, CGFloat size) {
    if (descriptor.design() == NSFontDesign::serif) return nullptr;
    const CGFloat wanted = size == 0 ? descriptor.pointSize() : size;
    return std::make_shared<const NSFont>(usableSize(wanted, systemFontSize), descriptor.weight(),
                                          descriptor.design());
}

NSFont::NSFont(CGFloat size, NSFontWeight weight, NSFontDesign design)
    : size_(usableSize(size, systemFontSize)),
      weight_(std::isnan(weight) ? NSFontWeightRegular : weight),
      design_(design),
      description_(pango_font_description_new()) {
    pango_font_description_set_family(description_, familyName().c_str());
    pango_font_description_set_weight(description_,
                                      isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description_, size_ * PANGO_SCALE);
}

NSFont::~NSFont() {
    pango_font_description_free(description_);
}

NSFontDescriptorRef NSFont::fontDescriptor() const {
    return std::make_shared<const NSFontDescriptor>(weight_, design_, size_);
}

std::string NSFont::familyName() const {
    return design_ == NSFontDesign::monospaced ? "DejaVu Sans Mono" : "DejaVu Sans";
}

std::string NSFont::displayName() const {
    return familyName() + (isBold() ? " Bold" : " Book");
}

bool NSFont::isBold() const {
    // Semibold and anything heavier take the bold face; medium stays with the book face.
    return weight_ >= (NSFontWeightMedium + NSFontWeightSemibold) / 2;
}

void NSFont::measure() const {
    if (metrics_) return;
    PangoFontMetrics* m =
        pango_context_get_metrics(TextTypesetter::context(), description_, nullptr);
    metrics_ = std::pair<CGFloat, CGFloat>(
        static_cast<CGFloat>(pango_font_metrics_get_ascent(m)) / PANGO_SCALE,
        -static_cast<CGFloat>(pango_font_metrics_get_descent(m)) / PANGO_SCALE);
    pango_font_metrics_unref(m);
}

CGFloat NSFont::ascender() const {
    measure();
    return metrics_->first;
}

CGFloat NSFont::descender() const {
    measure();
    return metrics_->second;
}
