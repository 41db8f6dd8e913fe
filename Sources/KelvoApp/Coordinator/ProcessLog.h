#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "KelvoAX/Log/LogFile.h"

namespace kelvo {

/// The one log function of the process: every line goes to the rotating log file and, when
/// `KELVO_LOG` is set, to standard error as well.
class ProcessLog {
  public:
    static constexpr std::int64_t maximumBytes = 4'194'304;

    explicit ProcessLog(int standardError) : standardError_(standardError) {}

    /// Opens the log file; `verbose` copies every line to standard error.
    void open(const std::filesystem::path& url, bool verbose);
    /// Where the log file is; empty before it is open.
    std::filesystem::path url() const;
    void log(const std::string& message) const;
    /// Whether every line is copied to standard error.
    bool isVerbose() const { return verbose_; }
    /// Writes out what is buffered; nothing before the file is open.
    void flush();

  private:
    int standardError_;
    std::unique_ptr<LogFile> file_;
    bool verbose_ = false;
};

}  // namespace kelvo
