#include <algorithm>

#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/NSWindow.h"

// How a text field draws itself: background and border, then its line, its placeholder or,
// while it is edited, the field editor's line with the selection and the caret.

namespace {

/// The string on one line: wrapping modes clip, the others keep their way of cutting.
NSAttributedString oneLine(const NSAttributedString& string, NSLineBreakMode mode) {
    if (mode == NSLineBreakMode::byWordWrapping || mode == NSLineBreakMode::byCharWrapping)
        mode = NSLineBreakMode::byClipping;
    NSAttributedString line;
    for (NSAttributedString::Run run : string.runs()) {
        NSParagraphStyle style = run.attributes.paragraphStyle.value_or(NSParagraphStyle{});
        style.lineBreakMode = mode;
        run.attributes.paragraphStyle = style;
        line.append(NSAttributedString(run.text, run.attributes));
    }
    return line;
}

void fillRect(CGContext& context, const CGRect& rect, const NSColorRef& colour) {
    context.setFillColor(colour->CGColor());
    context.fill(rect);
}

/// The width of the line's first `bytes` bytes as the text system sets them.
CGFloat widthOf(const std::string& text, std::size_t bytes, const NSTextAttributes& attributes) {
    if (bytes == 0) return 0;
    return NSAttributedString(text.substr(0, bytes), attributes).size().width;
}

}  // namespace

NSTextAttributes NSTextField::textAttributes(const NSColorRef& colour) const {
    NSTextAttributes attributes;
    attributes.font = font_;
    attributes.foregroundColor = colour;
    return attributes;
}

NSAppearanceRef NSTextField::effectiveAppearance() const {
    if (appearance_) return appearance_;
    if (NSWindow* shown = window(); shown && shown->appearance()) return shown->appearance();
    return NSAppearance::aqua();
}

void NSTextField::drawRect(const CGRect&) {
    NSGraphicsContext* current = NSGraphicsContext::currentContext();
    if (!current) return;
    CGContext& context = current->cgContext();
    const CGRect bounds = this->bounds();
    const NSAppearanceRef look = effectiveAppearance();
    if (drawsBackground_)
        fillRect(context, bounds,
                 backgroundColor_ ? backgroundColor_ : look->textBackgroundColor());
    if (bordered_) {
        context.setStrokeColor(look->labelColor()->colorWithAlphaComponent(0.25)->CGColor());
        context.setLineWidth(1);
        context.stroke(bounds.insetBy(0.5, 0.5));
    }
    // One line, as high as the font sets it, centred between the top and bottom edges.
    const CGFloat height = NSAttributedString("Xg", textAttributes(nullptr)).size().height;
    const CGRect line(textInset, (bounds.height() - height) / 2,
                      std::max<CGFloat>(0, bounds.width() - 2 * textInset), height);
    context.saveGState();
    context.clip(bounds);
    if (stringValue().empty()) drawPlaceholder(line, *look);
    if (editing_) {
        drawEditedLine(line, *look);
    } else if (!string_.empty()) {
        drawPlainLine(line, *look);
    }
    context.restoreGState();
}

void NSTextField::drawPlainLine(const CGRect& line, const NSAppearance& look) const {
    const NSTextAttributes attributes = textAttributes(textColor_ ? textColor_ : look.labelColor());
    oneLine(NSAttributedString(string_, attributes), lineBreakMode_).drawInRect(line);
}

void NSTextField::drawPlaceholder(const CGRect& line, const NSAppearance& look) const {
    if (placeholderAttributed_) {
        oneLine(*placeholderAttributed_, lineBreakMode_).drawInRect(line);
    } else if (!placeholder_.empty()) {
        oneLine(NSAttributedString(placeholder_, textAttributes(look.placeholderTextColor())),
                lineBreakMode_)
            .drawInRect(line);
    }
}

void NSTextField::drawEditedLine(const CGRect& line, const NSAppearance& look) const {
    CGContext& context = NSGraphicsContext::currentContext()->cgContext();
    const EditedText& edited = editor_->editedText();
    const std::string& text = edited.text();
    const NSTextAttributes attributes = textAttributes(textColor_ ? textColor_ : look.labelColor());
    const CGFloat caret = widthOf(text, edited.caret(), attributes);
    // The line scrolls just enough to keep the caret inside the field.
    const CGFloat visible = std::max<CGFloat>(0, line.width() - caretWidth);
    scrollOffset_ = std::clamp(scrollOffset_, std::max<CGFloat>(0, caret - visible), caret);
    const CGFloat x = line.minX() - scrollOffset_;
    if (editor_->drawsBackground())
        fillRect(
            context, line,
            editor_->backgroundColor() ? editor_->backgroundColor() : look.textBackgroundColor());
    if (edited.hasSelection()) {
        const CGFloat start = widthOf(text, edited.selectionStart(), attributes);
        const CGFloat end = widthOf(text, edited.selectionEnd(), attributes);
        fillRect(context, CGRect(x + start, line.minY(), end - start, line.height()),
                 look.selectedTextBackgroundColor());
    }
    if (!text.empty()) {
        const NSAttributedString string(text, attributes);
        string.drawAtPoint(CGPoint{x, line.minY()});
    }
    if (!edited.hasSelection()) {
        const NSColorRef colour = editor_->insertionPointColor() ? editor_->insertionPointColor()
                                                                 : look.textInsertionPointColor();
        fillRect(context, CGRect(x + caret, line.minY(), caretWidth, line.height()), colour);
    }
}
