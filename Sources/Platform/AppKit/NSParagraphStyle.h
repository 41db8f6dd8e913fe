#pragma once

enum class NSTextAlignment { left, center, right, justified, natural };

/// What happens to a line that does not fit: it wraps at words (or, for a word longer than the
/// line, within it), wraps anywhere, is cut at the edge, or is truncated with "…".
enum class NSLineBreakMode {
    byWordWrapping,
    byCharWrapping,
    byClipping,
    byTruncatingHead,
    byTruncatingTail,
    byTruncatingMiddle,
};

/// How the lines of a paragraph are set.
struct NSParagraphStyle {
    NSTextAlignment alignment = NSTextAlignment::natural;
    NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping;
    /// Kept for the callers' sake: text here is never squeezed before it is truncated.
    bool allowsDefaultTighteningForTruncation = false;
    bool operator==(const NSParagraphStyle&) const = default;

    bool truncates() const {
        return lineBreakMode == NSLineBreakMode::byTruncatingHead ||
               lineBreakMode == NSLineBreakMode::byTruncatingTail ||
               lineBreakMode == NSLineBreakMode::byTruncatingMiddle;
    }
};
using NSMutableParagraphStyle = NSParagraphStyle;
