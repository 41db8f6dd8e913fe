#pragma once

#include <filesystem>
#include <vector>

#include "Platform/Foundation/Date.h"

namespace kelvo {

/// The crash-report count of the coordinator's start-up. Until diagnostics are built the
/// marker is not kept: every launch counts the reports of this program in the user's
/// DiagnosticReports folder from the distant past.
class Diagnostics {
  public:
    Diagnostics() = delete;

    static Date lastChecked();
    /// This program's reports modified after the date, newest first.
    static std::vector<std::filesystem::path> crashReports(Date since);
    static void markChecked(Date date);
    /// "Library/Logs/DiagnosticReports" in the home folder.
    static std::filesystem::path reportsFolder();
};

}  // namespace kelvo
