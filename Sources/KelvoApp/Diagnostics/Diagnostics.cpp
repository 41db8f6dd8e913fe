#include "KelvoApp/Diagnostics/Diagnostics.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Base/Foundation/DateFormatter.h"
#include "Base/Foundation/FileManager.h"
#include "Base/Text/DecimalText.h"
#include "Base/Text/UnicodeText.h"
#include "KelvoAX/Log/LogFile.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSProcessInfo.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo::Diagnostics {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view logCopyName = "kelvo.log";
constexpr std::string_view previousLogCopyName = "kelvo-previous.log";
constexpr std::string_view configCopyName = "config.json";
constexpr std::string_view crashReportPattern = "*.ips";
constexpr std::string_view reportTextName = "about this report.txt";
constexpr std::string_view reportFolderPrefix = "Kelvo report ";
constexpr std::string_view shortVersionKey = "CFBundleShortVersionString";
constexpr std::string_view buildKey = "CFBundleVersion";

FileManager& files() {
    return FileManager::defaultManager();
}

struct CrashReport {
    fs::path url;
    Date modified;
};

std::vector<CrashReport> listCrashReports() {
    std::vector<fs::path> entries;
    try {
        entries = files().contentsOfDirectory(crashReportFolder());
    } catch (const FileError&) {
        return {};
    }
    std::vector<CrashReport> reports;
    for (const fs::path& entry : entries) {
        if (!entry.filename().string().starts_with(crashReportPrefix)) continue;
        reports.push_back(
            {entry, files().contentModificationDate(entry).value_or(Date::distantPast())});
    }
    std::stable_sort(
        reports.begin(), reports.end(),
        [](const CrashReport& a, const CrashReport& b) { return a.modified > b.modified; });
    return reports;
}

std::string folderLine(std::string_view name, std::string_view explanation) {
    std::string line(name);
    line.resize(std::max(explanationColumn - 1, name.size() + 1), ' ');
    line += explanation;
    return line;
}

/// Puts a copy of `source` into `folder` under `name`, replacing what was there; a source
/// that cannot be copied (no previous log yet, no configuration file) is left out.
void copyInto(const fs::path& folder, const fs::path& source, std::string_view name) {
    const fs::path target = folder / name;
    try {
        files().removeItem(target);
    } catch (const FileError&) {
    }
    try {
        files().copyItem(source, target);
    } catch (const FileError&) {
    }
}

std::string infoString(std::string_view key) {
    return NSBundle::mainBundle().objectForInfoDictionaryKey(std::string(key)).value_or("?");
}

}  // namespace

fs::path crashReportFolder() {
    return files().homeDirectoryForCurrentUser() / "Library" / "Logs" / "DiagnosticReports";
}

fs::path markerURL(const fs::path& logURL) {
    return logURL.parent_path() / markerName;
}

std::string markerText(Date date) {
    return DecimalText::of(date.timeIntervalSince1970);
}

std::optional<Date> dateFromMarkerText(std::string_view text) {
    std::string trimmed = UnicodeText::trimmingWhitespaceAndNewlines(text);
    std::string_view number = trimmed;
    if (number.starts_with('+') && number.size() > 1 && number[1] != '-' && number[1] != '+') {
        number.remove_prefix(1);
    }
    double seconds = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), seconds,
                                              std::chars_format::general);
    if (number.empty() || error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    // An infinite or undefined marker would hide every later crash; it counts as unreadable.
    if (!std::isfinite(seconds)) return std::nullopt;
    return Date{seconds};
}

Date lastChecked(const fs::path& logURL) {
    try {
        return dateFromMarkerText(readFile(markerURL(logURL))).value_or(Date::distantPast());
    } catch (const FileError&) {
        return Date::distantPast();
    }
}

void markChecked(Date date, const fs::path& logURL) {
    try {
        files().createDirectory(logURL.parent_path(), true);
    } catch (const FileError&) {
    }
    try {
        writeAtomically(markerURL(logURL), markerText(date));
    } catch (const FileError&) {
    }
}

std::vector<fs::path> crashReports() {
    std::vector<fs::path> urls;
    for (CrashReport& report : listCrashReports()) {
        urls.push_back(std::move(report.url));
    }
    return urls;
}

std::vector<fs::path> crashReports(Date since) {
    std::vector<fs::path> urls;
    for (CrashReport& report : listCrashReports()) {
        if (report.modified > since) urls.push_back(std::move(report.url));
    }
    return urls;
}

std::vector<std::string> crashLogLines(const std::vector<fs::path>& reports) {
    if (reports.empty()) return {};
    std::vector<std::string> lines = {"Kelvo crashed " + std::to_string(reports.size()) +
                                      " time(s) since the last launch - " +
                                      "About ▸ Diagnostics ▸ Report a problem gathers them with "
                                      "the log"};
    const std::size_t named = std::min(reports.size(), namedCrashLimit);
    for (std::size_t i = 0; i < named; ++i) {
        lines.push_back("  " + reports[i].filename().string());
    }
    return lines;
}

std::string reportFolderName(Date date) {
    DateFormatter stamp;
    stamp.setDateFormat("yyyyMMdd'T'HHmmss");
    stamp.setTimeZone(TimeZone::gmt);
    return std::string(reportFolderPrefix) + stamp.string(date);
}

std::string reportText(const std::string& version, const std::string& build,
                       const std::string& systemVersion, Date written, std::size_t crashCount) {
    const std::vector<std::string> lines = {
        "Kelvo " + version + " (build " + build + ")",
        "macOS " + systemVersion,
        "Written " + written.description(),
        "",
        folderLine(logCopyName, "what Kelvo did to your windows, most recent run"),
        folderLine(previousLogCopyName, "the run before that, if there was one"),
        folderLine(configCopyName, "your settings"),
        folderLine(crashReportPattern, "crash reports macOS wrote for Kelvo (" +
                                           std::to_string(crashCount) + " on this machine)"),
        "",
        "Nothing here was sent anywhere. It is yours to read and to share",
        "with whoever is helping.",
    };
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

std::optional<fs::path> writeReport(const fs::path& configURL, const fs::path& logURL) {
    const Date now = Date::now();
    const fs::path folder =
        files().homeDirectoryForCurrentUser() / "Desktop" / reportFolderName(now);
    try {
        files().createDirectory(folder, true);
    } catch (const FileError&) {
        return std::nullopt;
    }

    copyInto(folder, logURL, logCopyName);
    copyInto(folder, LogFile::previousURL(logURL), previousLogCopyName);
    copyInto(folder, configURL, configCopyName);

    const std::vector<fs::path> reports = crashReports();
    const std::size_t copied = std::min(reports.size(), copiedCrashReportLimit);
    for (std::size_t i = 0; i < copied; ++i) {
        copyInto(folder, reports[i], reports[i].filename().string());
    }

    const std::string text = reportText(infoString(shortVersionKey), infoString(buildKey),
                                        NSProcessInfo::processInfo().operatingSystemVersionString(),
                                        now, crashReports().size());
    try {
        writeAtomically(folder / reportTextName, text);
    } catch (const FileError&) {
    }

    NSWorkspace::sharedWorkspace().activateFileViewerSelectingURLs({folder});
    return folder;
}

}  // namespace kelvo::Diagnostics
