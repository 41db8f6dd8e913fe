#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kelvo {

class SettingsModel;

/// The About page's readouts and buttons: the version and build, the number of crash reports
/// (counted once), the configuration file and the log shown in the file viewer, and the
/// problem report.
class AboutReadouts {
  public:
    static constexpr const char* developmentVersion = "development";

    explicit AboutReadouts(SettingsModel& model) : model_(model) {}

    std::string versionString() const;
    std::string buildDetail() const;
    /// Counted on the first call; the same number from then on.
    int crashCount();
    /// The report folder on the Desktop, shown in the file viewer; none when it could not be
    /// made.
    std::optional<std::filesystem::path> reportProblem() const;

    /// Shows the file selected in the file viewer, or, while it does not exist, opens the
    /// folder that would hold it.
    static void reveal(const std::filesystem::path& url);

  private:
    SettingsModel& model_;
    std::optional<int> crashCount_;
};

}  // namespace kelvo
