#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kelvo {

/// The request lines of test mode as they arrive on a descriptor, with a bound on each: a line
/// longer than the bound is never held whole, only its first bytes are kept for the reply, and
/// the rest is skipped up to its line feed. Every byte is looked at once.
class RequestLines {
  public:
    /// As long as a line to the desktop may be.
    static constexpr std::size_t maximumLineLength = 1 << 20;
    /// How much of an overlong line is kept to tell which one it was.
    static constexpr std::size_t keptOfOverlong = 200;

    struct Line {
        /// The line without its terminator; for an overlong line, its first bytes (cut at a
        /// character's boundary).
        std::string text;
        bool overlong = false;
    };

    explicit RequestLines(int descriptor, std::size_t maximumLength = maximumLineLength)
        : descriptor_(descriptor), maximumLength_(maximumLength) {}

    /// The next line; none at the end of input. An unfinished last line counts as a line.
    std::optional<Line> next();
    /// The most bytes a line may hold, without its terminator.
    std::size_t maximumLength() const { return maximumLength_; }

  private:
    std::optional<Line> completeLine();
    std::optional<Line> endOfSkipped();
    /// Starts skipping the line that begins at `start_`, keeping its first bytes.
    void startSkipping();
    void readMore();
    void compact();

    int descriptor_;
    std::size_t maximumLength_;
    std::string buffer_;
    std::size_t start_ = 0;
    /// Where the search for the next line feed resumes.
    std::size_t scanned_ = 0;
    bool finished_ = false;
    /// The head of the overlong line being skipped.
    std::optional<std::string> skipping_;
};

}  // namespace kelvo
