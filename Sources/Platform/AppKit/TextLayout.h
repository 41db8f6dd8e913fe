#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"

typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;
class NSAttributedString;
struct NSParagraphStyle;

/// The lines of an attributed string as the text system sets them, in points: wrapped or
/// truncated at a width by the first run's paragraph style, or as long as their text without
/// one.
class TextLayout {
  public:
    /// Wider than this counts as no width at all.
    static constexpr CGFloat widestLine = 1e6;

    /// Wrapped text longer than this many characters is cut there and ends in "…": breaking
    /// a long word across lines costs Pango more for every line after it, so that a long
    /// string in a narrow rectangle would hold the main loop for minutes, and no window of the
    /// system shows a page that long.
    static constexpr std::size_t longestWrappedText = 5000;

    /// With `maxLines`, wrapped lines past that many are left out and the last one shown ends
    /// in "…".
    TextLayout(const NSAttributedString& string, std::optional<CGFloat> width,
               std::optional<int> maxLines = std::nullopt);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    /// The lines' size: the widest line's width and the lines' height.
    CGSize size() const;
    /// From the top of the first line to its baseline.
    CGFloat firstBaseline() const;
    int lineCount() const;
    bool isTruncated() const;
    /// The text as the lines show it, with "…" where it was cut and a line feed between lines.
    std::string displayedText() const;
    /// Draws the lines with their top left at the origin, y growing downwards.
    void paint(cairo_t* cr) const;

  private:
    static bool wraps(const NSParagraphStyle& style);
    void cutLongWrappedText();

    PangoLayout* layout_;
    /// The text as given to Pango (made valid UTF-8).
    std::string text_;
};
