#include "Platform/AppKit/NSFont.h"

#include <hb-ot.h>
#include <pango/pango.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "Platform/AppKit/TextTypesetter.h"

namespace {

CGFloat usableSize(CGFloat size, CGFloat fallback) {
    if (std::isnan(size) || size <= 0) return fallback;
    return std::min(size, NSFont::maximumPointSize);
}

/// The platform's weights and the numeric weights of font files they stand for.
struct WeightStep {
    NSFontWeight weight;
    PangoWeight numeric;
};
constexpr WeightStep weightSteps[] = {
    {NSFontWeightUltraLight, PANGO_WEIGHT_THIN}, {NSFontWeightThin, PANGO_WEIGHT_ULTRALIGHT},
    {NSFontWeightLight, PANGO_WEIGHT_LIGHT},     {NSFontWeightRegular, PANGO_WEIGHT_NORMAL},
    {NSFontWeightMedium, PANGO_WEIGHT_MEDIUM},   {NSFontWeightSemibold, PANGO_WEIGHT_SEMIBOLD},
    {NSFontWeightBold, PANGO_WEIGHT_BOLD},       {NSFontWeightHeavy, PANGO_WEIGHT_ULTRABOLD},
    {NSFontWeightBlack, PANGO_WEIGHT_HEAVY},
};

/// The numeric weight of the platform's weight nearest to `weight`; fontconfig then takes the
/// family's face nearest to that.
PangoWeight numericWeight(NSFontWeight weight) {
    const WeightStep* nearest = &weightSteps[0];
    for (const WeightStep& step : weightSteps) {
        if (std::fabs(step.weight - weight) < std::fabs(nearest->weight - weight)) nearest = &step;
    }
    return nearest->numeric;
}

/// The line gap the font file gives, scaled to a line `height` points high from ascender to
/// descender: the font's own units are turned into points by that height.
CGFloat lineGapOf(const PangoFontDescription* description, CGFloat height) {
    PangoFont* font = pango_context_load_font(TextTypesetter::context(), description);
    if (!font) return 0;
    CGFloat gap = 0;
    hb_font_t* shaped = pango_font_get_hb_font(font);
    hb_position_t ascender = 0, descender = 0, lineGap = 0;
    if (shaped &&
        hb_ot_metrics_get_position(shaped, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &ascender) &&
        hb_ot_metrics_get_position(shaped, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &descender) &&
        hb_ot_metrics_get_position(shaped, HB_OT_METRICS_TAG_HORIZONTAL_LINE_GAP, &lineGap) &&
        ascender - descender > 0 && lineGap > 0) {
        gap = height * static_cast<CGFloat>(lineGap) / static_cast<CGFloat>(ascender - descender);
    }
    g_object_unref(font);
    return gap;
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
    pango_font_description_set_weight(description_, numericWeight(weight_));
    pango_font_description_set_absolute_size(description_, size_ * PANGO_SCALE);
}

NSFont::~NSFont() {
    pango_font_description_free(description_);
}

NSFontDescriptorRef NSFont::fontDescriptor() const {
    return std::make_shared<const NSFontDescriptor>(weight_, design_, size_);
}

std::string NSFont::familyName() const {
    return design_ == NSFontDesign::monospaced ? monospacedFamily : systemFamily;
}

std::string NSFont::displayName() const {
    if (!faceName_) faceName_ = loadedFaceName();
    return familyName() + " " + *faceName_;
}

std::string NSFont::loadedFaceName() const {
    // The face fontconfig picks for the weight, as the text system will draw with it.
    PangoFont* font = pango_context_load_font(TextTypesetter::context(), description_);
    std::string name;
    if (font) {
        if (PangoFontFace* face = pango_font_get_face(font)) {
            if (const char* named = pango_font_face_get_face_name(face)) name = named;
        }
        g_object_unref(font);
    }
    return name.empty() ? "Regular" : name;
}

void NSFont::measure() const {
    if (metrics_) return;
    // Pango shapes sample text to measure a font, and a window makes a font for each of its
    // texts: each face and size is measured once on a thread, with that thread's context.
    thread_local std::map<std::tuple<NSFontDesign, PangoWeight, CGFloat>, Metrics> known;
    const auto key = std::make_tuple(design_, numericWeight(weight_), size_);
    if (const auto found = known.find(key); found != known.end()) {
        metrics_ = found->second;
        return;
    }
    if (known.size() >= measuredLimit) known.clear();
    metrics_ = known.emplace(key, measured()).first->second;
}

NSFont::Metrics NSFont::measured() const {
    PangoFontMetrics* m =
        pango_context_get_metrics(TextTypesetter::context(), description_, nullptr);
    Metrics metrics;
    metrics.ascender = static_cast<CGFloat>(pango_font_metrics_get_ascent(m)) / PANGO_SCALE;
    metrics.descender = -static_cast<CGFloat>(pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    metrics.leading = lineGapOf(description_, metrics.ascender - metrics.descender);
    return metrics;
}

CGFloat NSFont::ascender() const {
    measure();
    return metrics_->ascender;
}

CGFloat NSFont::descender() const {
    measure();
    return metrics_->descender;
}

CGFloat NSFont::leading() const {
    measure();
    return metrics_->leading;
}

double NSFont::lineHeightFactor() const {
    measure();
    const CGFloat height = metrics_->ascender - metrics_->descender;
    return height > 0 ? (height + metrics_->leading) / height : 1.0;
}
