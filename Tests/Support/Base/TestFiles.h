#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace kelvo::testing {

/// What the file holds, byte for byte; empty when there is no such file.
std::string fileContents(const std::filesystem::path& file);
/// Makes the file hold exactly `text`, making the folders it lies in first.
void writeText(const std::filesystem::path& file, const std::string& text);
/// How many entries the folder holds.
std::size_t entriesIn(const std::filesystem::path& folder);
/// Dates the file's last change (and access) `seconds` after 1970; false when that failed.
bool setModified(const std::filesystem::path& file, double seconds);
/// Where the system keeps the crash reports of the user whose home folder is `home`.
std::filesystem::path crashReportFolder(const std::filesystem::path& home);
/// Leaves a crash report `name`, holding its name, in that folder, dated `seconds` after 1970;
/// throws when it cannot be dated.
void addCrashReport(const std::filesystem::path& home, const std::string& name, double seconds);

}  // namespace kelvo::testing
