#pragma once

#include <cstddef>

/// A range of text in UTF-16 code units, as the text system counts: a caret is a range of
/// length 0.
struct NSRange {
    std::size_t location = 0;
    std::size_t length = 0;
    bool operator==(const NSRange&) const = default;

    std::size_t end() const { return location + length; }
};
