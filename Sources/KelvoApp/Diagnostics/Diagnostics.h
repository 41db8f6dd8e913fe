#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Base/Foundation/Date.h"

namespace kelvo {

/// What a user needs when asking for help, gathered without sending anything anywhere: how
/// often the program crashed since the last launch, the crash reports the system wrote for it,
/// and a report folder on the Desktop with copies of the log, the previous log, the
/// configuration and the newest crash reports. Main thread only. No file-system failure is
/// ever reported: a copy, write or listing that fails leaves its item out and the rest goes on.
///
/// The log's location is passed in by the caller (the test folder's log in test mode), so the
/// marker lives beside whichever log the process writes.
namespace Diagnostics {

/// The marker's name, in the folder that holds the log.
inline constexpr std::string_view markerName = "last-checked";
/// The system's crash reports of this program are named after its executable and a hyphen.
inline constexpr std::string_view crashReportPrefix = "KelvoApp-";
/// The newest crash reports copied into a report folder.
inline constexpr std::size_t copiedCrashReportLimit = 5;
/// The folder lines of the report's text start their explanation in this column.
inline constexpr std::size_t explanationColumn = 22;
/// Start-up names at most this many of the crashes since the last launch.
inline constexpr std::size_t namedCrashLimit = 3;

/// "Library/Logs/DiagnosticReports" in the current user's home folder.
std::filesystem::path crashReportFolder();
std::filesystem::path markerURL(const std::filesystem::path& logURL);

/// The date of the last crash-report check, read from the marker beside the log; the distant
/// past when the marker is missing, unreadable or holds no finite number.
Date lastChecked(const std::filesystem::path& logURL);
/// Records `date` as the last check: creates the log's folder and writes the marker
/// atomically; failures are ignored.
void markChecked(Date date, const std::filesystem::path& logURL);

/// The marker's content: the seconds since 1970 in the shortest text that reads back as the
/// same double, always with its fraction ("1765146185.0").
std::string markerText(Date date);
/// The date a marker's content stands for, white space around it ignored.
std::optional<Date> dateFromMarkerText(std::string_view text);

/// The system's crash reports of this program, newest first; equal dates keep the listing's
/// order and an unreadable date counts as the distant past. Empty when the folder cannot be
/// listed.
std::vector<std::filesystem::path> crashReports();
/// The crash reports modified strictly after `date`, newest first.
std::vector<std::filesystem::path> crashReports(Date since);

/// The lines start-up logs about the crashes since the last launch: the count, then the file
/// names of the first three; none when there were none.
std::vector<std::string> crashLogLines(const std::vector<std::filesystem::path>& reports);

/// "Kelvo report 20261207T232305" for 23:23:05 UTC on 7 December 2026.
std::string reportFolderName(Date date);
/// The text of "about this report.txt".
std::string reportText(const std::string& version, const std::string& build,
                       const std::string& systemVersion, Date written, std::size_t crashCount);

/// Builds the report folder on the Desktop, shows it selected in the file viewer and returns
/// its location; none when the folder cannot be created (then nothing else is done). A second
/// report within the same second reuses the folder, replacing what it copies. The version and
/// build come from the main bundle, "?" for each it does not hold.
std::optional<std::filesystem::path> writeReport(const std::filesystem::path& configURL,
                                                 const std::filesystem::path& logURL);

}  // namespace Diagnostics

}  // namespace kelvo
