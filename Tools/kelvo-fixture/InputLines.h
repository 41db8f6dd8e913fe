#pragma once

#include <cstddef>
#include <string>

namespace kelvo_fixture {

/// The lines of a descriptor (standard input), read as they come and each at most
/// `maximumLength` bytes: a longer line is never held whole but skipped to its end and
/// reported as one overlong line, after which reading goes on. A last line without its line
/// feed is still a line.
class InputLines {
  public:
    static constexpr std::size_t maximumLength = 1 << 20;

    struct Next {
        enum class Kind { line, overlong, end };
        Kind kind = Kind::end;
        /// Without its line feed (or carriage return and line feed).
        std::string text;
    };

    explicit InputLines(int descriptor, std::size_t maximum = maximumLength)
        : descriptor_(descriptor), maximum_(maximum) {}

    /// Waits for the next line.
    Next next();

  private:
    int descriptor_;
    std::size_t maximum_;
    std::string buffer_;
    std::size_t scanned_ = 0;
    bool skipping_ = false;
    bool ended_ = false;
};

}  // namespace kelvo_fixture
