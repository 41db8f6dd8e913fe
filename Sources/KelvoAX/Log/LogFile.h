#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace kelvo {

/// The process-wide log: one timestamped line per message, gathered in memory and written in
/// chunks on a serial queue of its own, so that a caller never waits for the disk. When the
/// file would grow past its limit it becomes the previous generation (`kelvo.log.1`) and a
/// fresh file starts; a line is never split between the two. The log never reports a
/// failure and never stops the program: a chunk that cannot be written is lost and the file
/// is prepared again for the next one.
class LogFile {
  public:
    /// The smallest size limit of one generation.
    static constexpr std::int64_t minimumBytes = 1024;
    /// Gathered bytes that are written at once, when the size limit is not smaller.
    static constexpr std::int64_t largestBufferLimit = 16384;
    /// A quiet log is written at most this long after its first unwritten line.
    static constexpr double writeOutDelay = 0.5;
    static constexpr std::string_view timestampFormat = "yyyy-MM-dd HH:mm:ss.SSS";
    static constexpr std::string_view timestampLocale = "en_US_POSIX";
    static constexpr std::string_view queueLabelPrefix = "dev.kelvo.log.";

    /// "Logs/Kelvo/kelvo.log" in the user's Library folder.
    static std::filesystem::path standardURL();

    /// Touches no file; `maximumBytes` below `minimumBytes` is raised to it.
    LogFile(std::filesystem::path url, std::int64_t maximumBytes);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    const std::filesystem::path& url() const;
    /// The previous generation: the log's name followed by ".1", beside it.
    std::filesystem::path previousURL() const;
    /// The previous generation of a log at `url`, for readers that hold no log of their own.
    static std::filesystem::path previousURL(const std::filesystem::path& url);
    std::int64_t maximumBytes() const;
    std::int64_t bufferLimit() const;

    /// Stamps the message with the current time and hands the line to the log's queue;
    /// callable from any thread, returns at once.
    void write(std::string_view message) const;
    /// Writes everything gathered so far before it returns. Not from the log's own queue.
    void flush() const;

  private:
    struct Core;
    std::shared_ptr<Core> core_;
};

}  // namespace kelvo
