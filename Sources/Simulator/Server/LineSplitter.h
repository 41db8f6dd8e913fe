#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

/// Cuts a byte stream into lines as it arrives, in pieces of any size. A line ends at a line
/// feed (a carriage return before it is dropped too). A line longer than the bound is never
/// kept whole: once the bound is passed the splitter reports it and takes nothing more, so a
/// peer cannot make the reader hold an unbounded amount of memory.
class LineSplitter {
  public:
    /// How long a line may be: every line up to `maximumLength`, and a line that begins with
    /// `longPrefix` (when one is given) up to `maximumLongLength`.
    struct Bound {
        std::size_t maximumLength = 0;
        std::string longPrefix;
        std::size_t maximumLongLength = 0;
    };

    explicit LineSplitter(std::size_t maximumLineLength) : bound_{maximumLineLength, {}, 0} {}
    explicit LineSplitter(Bound bound) : bound_(std::move(bound)) {}

    /// Adds bytes that arrived.
    void append(std::string_view bytes);
    /// The next complete line without its terminator, or none until one has arrived.
    std::optional<std::string> next();
    /// True once a line longer than the bound was met; the splitter then stays empty.
    bool overflowed() const { return overflowed_; }
    /// Bytes of an incomplete line that wait for their line feed.
    std::size_t pendingSize() const { return buffer_.size() - start_; }

  private:
    void compact();
    /// The bound of the line that starts at `start_`, as far as its first bytes tell.
    std::size_t boundOfPending() const;
    void overflow();

    Bound bound_;
    std::string buffer_;
    std::size_t start_ = 0;
    /// Where the search for the next line feed resumes, so that a long line arriving in
    /// small pieces is not scanned again for each piece.
    std::size_t scanned_ = 0;
    bool overflowed_ = false;
};

}  // namespace sim
