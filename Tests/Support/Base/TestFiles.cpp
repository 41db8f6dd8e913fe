#include "Support/Base/TestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace kelvo::testing {

std::string fileContents(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

bool setModified(const std::filesystem::path& file, double seconds) {
    const double whole = std::floor(seconds);
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(whole);
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>((seconds - whole) * 1e9);
    return ::utimensat(AT_FDCWD, file.c_str(), times, 0) == 0;
}

std::filesystem::path crashReportFolder(const std::filesystem::path& home) {
    return home / "Library" / "Logs" / "DiagnosticReports";
}

void addCrashReport(const std::filesystem::path& home, const std::string& name, double seconds) {
    const std::filesystem::path report = crashReportFolder(home) / name;
    writeText(report, name);
    if (!setModified(report, seconds)) throw std::runtime_error("cannot date " + report.string());
}

}  // namespace kelvo::testing
