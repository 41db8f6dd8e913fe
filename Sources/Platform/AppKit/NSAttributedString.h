#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/AppKit/NSParagraphStyle.h"

class TextLayout;

/// The attributes of a run of text. Without a font the text is in the system font of 12
/// points, without a colour in black.
struct NSTextAttributes {
    NSFontRef font;
    NSColorRef foregroundColor;
    /// Only the first run's style counts, for the whole text.
    std::optional<NSParagraphStyle> paragraphStyle;
    /// Extra space between characters, in points (as `tracking`; the two add up).
    std::optional<CGFloat> kern;
    /// Extra space between characters, in points.
    std::optional<CGFloat> tracking;
};

/// How a string is drawn in a rectangle: from the top of the rectangle, lines laid out inside
/// it (line fragment origin), or on a baseline at the rectangle's origin.
enum NSStringDrawingOptions : unsigned {
    NSStringDrawingUsesLineFragmentOrigin = 1u << 0,
    NSStringDrawingUsesFontLeading = 1u << 1,
    NSStringDrawingTruncatesLastVisibleLine = 1u << 5,
};

/// Text in runs of attributes, measured and drawn with the text system (Pango over the fonts of the
/// repository's fontconfig file). Text that is not valid UTF-8 is drawn with U+FFFD in place of its
/// broken bytes.
class NSAttributedString {
  public:
    struct Run {
        std::string text;
        NSTextAttributes attributes;
    };

    NSAttributedString() = default;
    explicit NSAttributedString(std::string text, NSTextAttributes attributes = {});

    /// Appends the runs of another string (as a mutable attributed string does).
    void append(const NSAttributedString& other);
    std::string string() const;
    const std::vector<Run>& runs() const { return runs_; }

    /// The size of the lines as they fall without a width to keep to; zero for no text.
    CGSize size() const;
    /// The rectangle of the lines laid out within `size`'s width (with the line fragment
    /// origin option), at the origin.
    CGRect boundingRectWithSize(CGSize size, unsigned options) const;
    /// Draws into the current graphics context: a flipped context puts `point` at the top
    /// left of the text, an unflipped one at its bottom left.
    void drawAtPoint(CGPoint point) const;
    /// Draws the lines laid out in the rectangle's width from its top, clipped to it.
    void drawInRect(const CGRect& rect) const;
    void drawWithRect(const CGRect& rect, unsigned options) const;

    /// The lines as laid out in a width (none: as long as their text); the last one is kept.
    std::shared_ptr<const TextLayout> layout(std::optional<CGFloat> width) const;

  private:
    void draw(const CGRect& box, const std::shared_ptr<const TextLayout>& lines, bool clip) const;

    std::vector<Run> runs_;
    mutable std::optional<CGFloat> cachedWidth_;
    mutable std::shared_ptr<const TextLayout> cached_;
};
using NSMutableAttributedString = NSAttributedString;
