#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

/// What the report needs of the platform: the program's bundle information, the system's
/// version and the file viewer.
class ReportPlatform {
  public:
    virtual ~ReportPlatform() = default;

    /// The main bundle's information string under `key`, or none when it holds no string there.
    virtual std::optional<std::string> bundleInfoString(std::string_view key) const = 0;
    /// The process information's operating system version text.
    virtual std::string operatingSystemVersionString() const = 0;
    /// Opens a file viewer window with exactly these items selected.
    virtual void activateFileViewerSelecting(const std::vector<std::filesystem::path>& urls) = 0;
};

}  // namespace kelvo
