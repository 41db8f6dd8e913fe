#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/TextLayout.h"

namespace SwiftUI {

/// Text as the text system set it at one width and line count.
struct TextLines {
    CGSize size;
    /// From the top of the first line to its baseline.
    CGFloat firstBaseline = 0;
    int lineCount = 0;
    bool truncated = false;
    /// What the lines show, "…" where they were cut.
    std::string shown;
    std::shared_ptr<const TextLayout> layout;
};

/// Sets text through the drawing layer and remembers what it set, so that the many questions
/// a layout asks of one text (its size at no width, at a stack's offer, at its final width)
/// cost one setting each. The graph that owns it keeps it across passes.
class TextMeasurer {
  public:
    static constexpr std::size_t capacity = 8192;

    /// The lines of `string` wrapped at `width` (none: as long as their text), cut with "…" at
    /// the tail of the last line when they need more than `maxLines`. `key` names the
    /// string's text and attributes.
    const TextLines& lines(const NSAttributedString& string, const std::string& key,
                           std::optional<CGFloat> width, std::optional<int> maxLines);

  private:
    TextLines set(const NSAttributedString& string, std::optional<CGFloat> width,
                  std::optional<int> maxLines) const;

    std::unordered_map<std::string, TextLines> cache_;
};

}  // namespace SwiftUI
