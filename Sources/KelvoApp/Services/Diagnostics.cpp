#include "KelvoApp/Services/Diagnostics.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

#include "Platform/Foundation/FileSystem.h"

namespace kelvo {

namespace {

constexpr std::string_view reportPrefix = "KelvoApp";

double secondsSince1970(std::filesystem::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration<double>(system.time_since_epoch()).count();
}

}  // namespace

std::filesystem::path Diagnostics::reportsFolder() {
    return homeDirectory() / "Library" / "Logs" / "DiagnosticReports";
}

Date Diagnostics::lastChecked() {
    return Date{0};
}

std::vector<std::filesystem::path> Diagnostics::crashReports(Date since) {
    std::vector<std::pair<double, std::filesystem::path>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(reportsFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(reportPrefix)) continue;
        std::error_code timeError;
        const auto modified = entry.last_write_time(timeError);
        if (timeError) continue;
        const double seconds = secondsSince1970(modified);
        if (seconds > since.timeIntervalSince1970) found.emplace_back(seconds, entry.path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::filesystem::path> reports;
    for (auto& [seconds, path] : found)
        reports.push_back(std::move(path));
    return reports;
}

void Diagnostics::markChecked(Date) {}

}  // namespace kelvo
