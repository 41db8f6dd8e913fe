#include "Platform/SwiftUI/TextMeasurer.h"

#include <cmath>

namespace SwiftUI {

namespace {

TextLines linesOf(std::shared_ptr<const TextLayout> layout) {
    TextLines lines;
    lines.size = layout->size();
    lines.firstBaseline = layout->firstBaseline();
    lines.lineCount = layout->lineCount();
    lines.truncated = layout->isTruncated();
    lines.shown = layout->displayedText();
    lines.layout = std::move(layout);
    return lines;
}

std::string widthKey(std::optional<CGFloat> width) {
    if (!width) return "-";
    // A hundredth of a point apart is the same width to the text system.
    return std::to_string(std::llround(*width * 100));
}

}  // namespace

const TextLines& TextMeasurer::lines(const NSAttributedString& string, const std::string& key,
                                     std::optional<CGFloat> width, std::optional<int> maxLines) {
    if (width && !(std::isfinite(*width) && *width < TextLayout::widestLine)) width.reset();
    const std::string full = key + "|" + widthKey(width) + "|" +
                             (maxLines ? std::to_string(*maxLines) : std::string("-"));
    auto found = cache_.find(full);
    if (found != cache_.end()) return found->second;
    if (cache_.size() >= capacity) cache_.clear();
    return cache_.emplace(full, set(string, width, maxLines)).first->second;
}

TextLines TextMeasurer::set(const NSAttributedString& string, std::optional<CGFloat> width,
                            std::optional<int> maxLines) const {
    TextLines wrapped = linesOf(string.layout(width));
    if (!maxLines || wrapped.lineCount <= *maxLines || !width) return wrapped;
    // Out of lines: the last line that fits is cut at the tail.
    return linesOf(std::make_shared<const TextLayout>(string, width, maxLines));
}

}  // namespace SwiftUI
