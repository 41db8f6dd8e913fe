#include "Platform/AppKit/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/TextTypesetter.h"

namespace {

/// The bytes as valid UTF-8: broken sequences (and NUL bytes) become U+FFFD.
std::string validUTF8(const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return text;
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

guint16 channel(double value) {
    return static_cast<guint16>(std::lround(value * 65535));
}

void add(PangoAttrList* list, PangoAttribute* attribute, std::size_t start, std::size_t end) {
    attribute->start_index = static_cast<guint>(start);
    attribute->end_index = static_cast<guint>(end);
    pango_attr_list_insert(list, attribute);
}

/// The run's attributes over its bytes: font with the height of its lines, colour and letter
/// spacing.
void addRun(PangoAttrList* list, const NSTextAttributes& attributes, std::size_t start,
            std::size_t end) {
    const NSFontRef font = attributes.font ? attributes.font : NSFont::systemFontOfSize(12);
    add(list, pango_attr_font_desc_new(font->pangoDescription()), start, end);
    // Pango sets lines from ascender to descender; the platform adds the font's leading.
    if (const double factor = font->lineHeightFactor(); factor != 1.0)
        add(list, pango_attr_line_height_new(factor), start, end);
    const CGColorValue color = (attributes.foregroundColor ? attributes.foregroundColor->value()
                                                           : CGColorValue{0, 0, 0, 1})
                                   .clamped();
    add(list,
        pango_attr_foreground_new(channel(color.red), channel(color.green), channel(color.blue)),
        start, end);
    // Pango reads an alpha of 0 as none given: the faintest alpha it takes stands for it.
    add(list, pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(color.alpha))), start,
        end);
    const CGFloat spacing = attributes.kern.value_or(0) + attributes.tracking.value_or(0);
    if (spacing != 0 && std::isfinite(spacing) && std::fabs(spacing) < TextLayout::widestLine)
        add(list, pango_attr_letter_spacing_new(static_cast<int>(spacing * PANGO_SCALE)), start,
            end);
}

void setParagraph(PangoLayout* layout, const NSParagraphStyle& style,
                  std::optional<CGFloat> width) {
    switch (style.alignment) {
        case NSTextAlignment::center:
            pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
            break;
        case NSTextAlignment::right:
            pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
            break;
        case NSTextAlignment::justified:
            pango_layout_set_justify(layout, TRUE);
            break;
        case NSTextAlignment::left:
        case NSTextAlignment::natural:
            pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
            break;
    }
    if (!width) return;
    // Clipped lines do not wrap: they run on and the drawing cuts them at the edge.
    if (style.lineBreakMode == NSLineBreakMode::byClipping) return;
    pango_layout_set_width(layout, static_cast<int>(*width * PANGO_SCALE));
    switch (style.lineBreakMode) {
        case NSLineBreakMode::byCharWrapping:
            pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
            break;
        case NSLineBreakMode::byTruncatingHead:
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_START);
            break;
        case NSLineBreakMode::byTruncatingMiddle:
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_MIDDLE);
            break;
        case NSLineBreakMode::byTruncatingTail:
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            break;
        case NSLineBreakMode::byWordWrapping:
        case NSLineBreakMode::byClipping:
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            break;
    }
}

}  // namespace

TextLayout::TextLayout(const NSAttributedString& string, std::optional<CGFloat> width,
                       std::optional<int> maxLines)
    : layout_(pango_layout_new(TextTypesetter::context())) {
    PangoAttrList* attributes = pango_attr_list_new();
    for (const NSAttributedString::Run& run : string.runs()) {
        const std::size_t start = text_.size();
        text_ += validUTF8(run.text);
        addRun(attributes, run.attributes, start, text_.size());
    }
    // A word too long for its line breaks between two of its characters, as it stands.
    add(attributes, pango_attr_insert_hyphens_new(FALSE), 0, text_.size());
    const NSTextAttributes first =
        string.runs().empty() ? NSTextAttributes{} : string.runs().front().attributes;
    const NSParagraphStyle style = first.paragraphStyle.value_or(NSParagraphStyle{});
    if (width && !(*width >= 0 && *width < widestLine)) width.reset();
    if (width && wraps(style)) cutLongWrappedText();
    pango_layout_set_text(layout_, text_.data(), static_cast<int>(text_.size()));
    pango_layout_set_attributes(layout_, attributes);
    pango_attr_list_unref(attributes);
    const NSFontRef font = first.font ? first.font : NSFont::systemFontOfSize(12);
    pango_layout_set_font_description(layout_, font->pangoDescription());
    setParagraph(layout_, style, width);
    if (width && maxLines && *maxLines > 0 && wraps(style)) {
        pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout_, -*maxLines);
    }
}

bool TextLayout::wraps(const NSParagraphStyle& style) {
    return style.lineBreakMode == NSLineBreakMode::byWordWrapping ||
           style.lineBreakMode == NSLineBreakMode::byCharWrapping;
}

void TextLayout::cutLongWrappedText() {
    const auto characters =
        static_cast<std::size_t>(g_utf8_strlen(text_.data(), static_cast<gssize>(text_.size())));
    if (characters <= longestWrappedText) return;
    const char* end = g_utf8_offset_to_pointer(text_.data(), longestWrappedText);
    // The attributes' ranges may run past the text's end; the ellipsis takes the last run's.
    text_.resize(static_cast<std::size_t>(end - text_.data()));
    text_ += "…";
}

TextLayout::~TextLayout() {
    g_object_unref(layout_);
}

CGSize TextLayout::size() const {
    if (text_.empty()) return {};
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return {static_cast<CGFloat>(logical.width) / PANGO_SCALE,
            static_cast<CGFloat>(logical.height) / PANGO_SCALE};
}

CGFloat TextLayout::firstBaseline() const {
    return static_cast<CGFloat>(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
}

int TextLayout::lineCount() const {
    return pango_layout_get_line_count(layout_);
}

bool TextLayout::isTruncated() const {
    return pango_layout_is_ellipsized(layout_);
}

std::string TextLayout::displayedText() const {
    std::string shown;
    PangoLayoutIter* iter = pango_layout_get_iter(layout_);
    do {
        const PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
        if (!run) {
            if (!pango_layout_iter_at_last_line(iter)) shown += "\n";
            continue;
        }
        const PangoItem* item = run->item;
        if (item->analysis.flags & PANGO_ANALYSIS_FLAG_IS_ELLIPSIS) {
            shown += "…";
        } else {
            shown += text_.substr(static_cast<std::size_t>(item->offset),
                                  static_cast<std::size_t>(item->length));
        }
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
    return shown;
}

void TextLayout::paint(cairo_t* cr) const {
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout_);
}
