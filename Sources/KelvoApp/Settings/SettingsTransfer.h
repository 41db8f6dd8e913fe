#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class NSSavePanel;

namespace kelvo {

class SettingsModel;

/// The About page's settings-file card: the settings exported to a JSON file, imported from
/// one, or put back to the defaults. Every outcome ends as the model's `transferNotice`; a
/// failed import or export leaves the configuration as it was. The file panels run as sheets
/// of the settings window.
class SettingsTransfer {
  public:
    static constexpr const char* exportTitle = "Export Kelvo settings";
    static constexpr const char* importTitle = "Import Kelvo settings";
    static constexpr const char* proposedName = "kelvo-settings.json";
    /// Settings files are a few kilobytes; a larger file is not read at all.
    static constexpr std::uintmax_t largestImport = 1024 * 1024;
    static constexpr const char* tooLargeReason = "it is larger than 1 MiB";
    static constexpr const char* restoredNotice =
        "Every setting is back to Kelvo's defaults. The system tweaks were not touched. Revert "
        "those on the System tab.";

    explicit SettingsTransfer(SettingsModel& model) : model_(model) {}

    void exportSettings();
    void importSettings();
    void restoreDefaults();

  private:
    /// Shows the panel as a sheet of the model's window, or modally without one, and hands the
    /// chosen file to `chosen` while the model lives.
    void present(const std::shared_ptr<NSSavePanel>& panel,
                 std::function<void(SettingsTransfer&, const std::filesystem::path&)> chosen);
    void write(const std::filesystem::path& url);
    void read(const std::filesystem::path& url);
    void notify(std::string text, bool failed);

    SettingsModel& model_;
    /// The panels' completions hold this weakly.
    std::shared_ptr<SettingsTransfer*> alive_ = std::make_shared<SettingsTransfer*>(this);
};

}  // namespace kelvo
