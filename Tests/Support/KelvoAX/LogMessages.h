#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvo::testing {

/// A log line's timestamp: "yyyy-MM-dd HH:mm:ss.SSS" and two spaces.
inline constexpr std::size_t logTimestampWidth = 25;

/// The messages of the log file as far as it is written, in order, each without its timestamp;
/// none when there is no such file.
std::vector<std::string> logMessages(const std::filesystem::path& log);

}  // namespace kelvo::testing
