#pragma once

#include <deque>
#include <functional>
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

  private:
    /// One setting of a string: the width (in hundredths of a point, none: unbounded) and the
    /// line count it was set at.
    struct Setting {
        std::optional<long long> width;
        std::optional<int> maxLines;
        TextLines lines;
    };
    using Settings = std::deque<Setting>;

  public:
    /// What a text keeps between its questions: the settings of its string, found by the key
    /// once. It does not hold them: when the measurer forgets them with the rest, the next
    /// question sets the string again.
    class Handle {
      private:
        friend class TextMeasurer;
        std::weak_ptr<Settings> settings_;
    };

    /// Makes the string when it has to be set: a text asked again finds its lines by the key
    /// and never needs it.
    using StringMaker = std::function<const NSAttributedString&()>;

    /// The lines of the string `key` names wrapped at `width` (none: as long as their text),
    /// cut with "…" at the tail of the last line when they need more than `maxLines`. `key`
    /// names the string's text and attributes; `handle`, if given, is the same string's. The
    /// lines stay where they are until the measurer forgets what it set.
    const TextLines& lines(const std::string& key, const StringMaker& string,
                           std::optional<CGFloat> width, std::optional<int> maxLines,
                           Handle* handle = nullptr);

  private:
    TextLines set(const NSAttributedString& string, std::optional<CGFloat> width,
                  std::optional<int> maxLines) const;

    /// The settings of each string by its key: a layout asks one string a few questions, so
    /// they are found without building a key for each (and stay where they are as more come).
    /// The handles point at them without holding them.
    std::unordered_map<std::string, std::shared_ptr<Settings>> cache_;
    std::size_t settings_ = 0;
};

}  // namespace SwiftUI
