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

/// A hundredth of a point apart is the same width to the text system.
std::optional<long long> widthKey(std::optional<CGFloat> width) {
    if (!width) return std::nullopt;
    return std::llround(*width * 100);
}

}  // namespace

const TextLines& TextMeasurer::lines(const std::string& key, const StringMaker& string,
                                     std::optional<CGFloat> width, std::optional<int> maxLines,
                                     Handle* handle) {
    if (width && !(std::isfinite(*width) && *width < TextLayout::widestLine)) width.reset();
    const std::optional<long long> wanted = widthKey(width);
    std::shared_ptr<Settings> settings = handle ? handle->settings_.lock() : nullptr;
    if (!settings) {
        const auto found = cache_.find(key);
        if (found != cache_.end()) settings = found->second;
    }
    if (settings) {
        if (handle) handle->settings_ = settings;
        for (const Setting& setting : *settings)
            if (setting.width == wanted && setting.maxLines == maxLines) return setting.lines;
    }
    if (settings_ >= capacity) {
        cache_.clear();
        settings_ = 0;
        settings.reset();
    }
    if (!settings) {
        settings = cache_.emplace(key, std::make_shared<Settings>()).first->second;
        if (handle) handle->settings_ = settings;
    }
    ++settings_;
    settings->push_back(Setting{wanted, maxLines, set(string(), width, maxLines)});
    return settings->back().lines;
}

TextLines TextMeasurer::set(const NSAttributedString& string, std::optional<CGFloat> width,
                            std::optional<int> maxLines) const {
    TextLines wrapped = linesOf(string.layout(width));
    if (!maxLines || wrapped.lineCount <= *maxLines || !width) return wrapped;
    // Out of lines: the last line that fits is cut at the tail.
    return linesOf(std::make_shared<const TextLayout>(string, width, maxLines));
}

}  // namespace SwiftUI
