#include "Simulator/Server/LineSplitter.h"

#include <algorithm>

namespace sim {

void LineSplitter::append(std::string_view bytes) {
    if (overflowed_) return;
    compact();
    buffer_.append(bytes);
}

std::optional<std::string> LineSplitter::next() {
    if (overflowed_) return std::nullopt;
    const std::size_t end = buffer_.find('\n', scanned_);
    if (end == std::string::npos) {
        scanned_ = buffer_.size();
        // A carriage return at the end may be the first half of the line's terminator.
        const std::size_t pendingReturn = buffer_.ends_with('\r') ? 1 : 0;
        if (pendingSize() > boundOfPending() + pendingReturn) overflow();
        return std::nullopt;
    }
    std::size_t length = end - start_;
    if (length > 0 && buffer_[end - 1] == '\r') --length;
    if (length > boundOfPending()) {
        overflow();
        return std::nullopt;
    }
    std::string line = buffer_.substr(start_, length);
    start_ = scanned_ = end + 1;
    return line;
}

std::size_t LineSplitter::boundOfPending() const {
    const std::string_view pending = std::string_view(buffer_).substr(start_);
    if (!bound_.longPrefix.empty() && pending.starts_with(bound_.longPrefix))
        return std::max(bound_.maximumLength, bound_.maximumLongLength);
    return bound_.maximumLength;
}

void LineSplitter::overflow() {
    overflowed_ = true;
    buffer_.clear();
    start_ = scanned_ = 0;
}

void LineSplitter::compact() {
    if (start_ == 0) return;
    buffer_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
}

}  // namespace sim
