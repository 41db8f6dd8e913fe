#include "KelvoApp/TestMode/RequestLines.h"

#include <unistd.h>

#include <cerrno>

namespace kelvo {

namespace {

constexpr std::size_t readChunk = 64 * 1024;

std::string withoutCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

/// The first `length` bytes of `text`, or fewer so that no character is cut in two.
std::string headOf(std::string_view text, std::size_t length) {
    if (text.size() <= length) return std::string(text);
    std::size_t cut = length;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut));
}

}  // namespace

std::optional<RequestLines::Line> RequestLines::next() {
    for (;;) {
        if (skipping_) {
            if (auto skipped = endOfSkipped()) return skipped;
        } else if (auto line = completeLine()) {
            return line;
        }
        if (finished_) {
            if (skipping_) {
                Line line{std::move(*skipping_), true};
                skipping_.reset();
                return line;
            }
            if (start_ == buffer_.size()) return std::nullopt;
            Line line{withoutCarriageReturn(buffer_.substr(start_)), false};
            start_ = scanned_ = buffer_.size();
            return line;
        }
        readMore();
    }
}

std::optional<RequestLines::Line> RequestLines::completeLine() {
    const std::size_t end = buffer_.find('\n', scanned_);
    if (end == std::string::npos) {
        scanned_ = buffer_.size();
        // A carriage return at the end may be the first half of the line's terminator.
        const std::size_t pending = buffer_.ends_with('\r') ? 1 : 0;
        if (buffer_.size() - start_ > maximumLength_ + pending) startSkipping();
        return std::nullopt;
    }
    std::string_view text = std::string_view(buffer_).substr(start_, end - start_);
    if (text.ends_with('\r')) text.remove_suffix(1);
    Line line;
    if (text.size() > maximumLength_) {
        line = Line{headOf(text, keptOfOverlong), true};
    } else {
        line = Line{std::string(text), false};
    }
    start_ = scanned_ = end + 1;
    return line;
}

std::optional<RequestLines::Line> RequestLines::endOfSkipped() {
    const std::size_t end = buffer_.find('\n', start_);
    if (end == std::string::npos) {
        buffer_.clear();
        start_ = scanned_ = 0;
        return std::nullopt;
    }
    Line line{std::move(*skipping_), true};
    skipping_.reset();
    start_ = scanned_ = end + 1;
    return line;
}

void RequestLines::startSkipping() {
    skipping_ = headOf(std::string_view(buffer_).substr(start_), keptOfOverlong);
    buffer_.clear();
    start_ = scanned_ = 0;
}

void RequestLines::readMore() {
    compact();
    char chunk[readChunk];
    const ssize_t got = ::read(descriptor_, chunk, sizeof chunk);
    if (got > 0) {
        buffer_.append(chunk, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
        finished_ = true;
    }
}

void RequestLines::compact() {
    if (start_ == 0) return;
    buffer_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
}

}  // namespace kelvo
