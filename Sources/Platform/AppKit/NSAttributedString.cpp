#include "Platform/AppKit/NSAttributedString.h"

#include <cairo.h>

#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/TextLayout.h"

NSAttributedString::NSAttributedString(std::string text, NSTextAttributes attributes) {
    runs_.push_back({std::move(text), std::move(attributes)});
}

void NSAttributedString::append(const NSAttributedString& other) {
    runs_.insert(runs_.end(), other.runs_.begin(), other.runs_.end());
    cached_.reset();
    cachedWidth_.reset();
}

std::string NSAttributedString::string() const {
    std::string text;
    for (const Run& run : runs_)
        text += run.text;
    return text;
}

std::shared_ptr<const TextLayout> NSAttributedString::layout(std::optional<CGFloat> width) const {
    if (!cached_ || cachedWidth_ != width) {
        cached_ = std::make_shared<const TextLayout>(*this, width);
        cachedWidth_ = width;
    }
    return cached_;
}

CGSize NSAttributedString::size() const {
    return layout(std::nullopt)->size();
}

CGRect NSAttributedString::boundingRectWithSize(CGSize size, unsigned options) const {
    const bool wraps = (options & NSStringDrawingUsesLineFragmentOrigin) != 0;
    const CGSize lines =
        layout(wraps && size.width > 0 ? std::optional(size.width) : std::nullopt)->size();
    return CGRect(0, 0, lines.width, lines.height);
}

void NSAttributedString::draw(const CGRect& box, const std::shared_ptr<const TextLayout>& lines,
                              bool clip) const {
    auto* current = NSGraphicsContext::currentContext();
    if (!current || runs_.empty()) return;
    const NSTextAttributes& first = runs_.front().attributes;
    CGTextDrawing text;
    text.text = lines->displayedText();
    const NSFontRef font = first.font ? first.font : NSFont::systemFontOfSize(12);
    text.fontName = font->displayName();
    text.pointSize = font->pointSize();
    text.box = box;
    text.color = first.foregroundColor ? first.foregroundColor->value() : CGColorValue{0, 0, 0, 1};
    const CGSize size = box.size;
    text.paint = [lines, clip, size](cairo_t* cr) {
        if (clip) {
            cairo_rectangle(cr, 0, 0, size.width, size.height);
            cairo_clip(cr);
        }
        lines->paint(cr);
    };
    current->cgContext().drawText(std::move(text));
}

void NSAttributedString::drawAtPoint(CGPoint point) const {
    const auto lines = layout(std::nullopt);
    const CGSize size = lines->size();
    draw(CGRect(point, size), lines, false);
}

void NSAttributedString::drawInRect(const CGRect& rect) const {
    draw(rect.standardized(), layout(rect.width()), true);
}

void NSAttributedString::drawWithRect(const CGRect& rect, unsigned options) const {
    if (options & NSStringDrawingUsesLineFragmentOrigin) return drawInRect(rect);
    // On a baseline at the rectangle's origin: the first line's top lies one baseline above
    // it, towards the top of the page whichever way user space runs.
    auto* current = NSGraphicsContext::currentContext();
    if (!current) return;
    const auto lines = layout(rect.width() > 0 ? std::optional(rect.width()) : std::nullopt);
    const CGSize size = lines->size();
    const CGFloat baseline = lines->firstBaseline();
    const CGFloat top =
        current->isFlipped() ? rect.minY() - baseline : rect.minY() + baseline - size.height;
    draw(CGRect(rect.minX(), top, size.width, size.height), lines, false);
}
