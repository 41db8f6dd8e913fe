#pragma once

#include <optional>
#include <string>

namespace kelvo {

class SettingsModel;

/// The General page's "open at login" row: the application registered with macOS's login
/// items, or not, and the texts that explain where that stands. Only an application bundle
/// can be a login item.
class LoginItem {
  public:
    static constexpr const char* settingsURL =
        "x-apple.systempreferences:com.apple.LoginItems-Settings.extension";
    static constexpr const char* refusalPrefix = "macOS refused: ";

    explicit LoginItem(SettingsModel& model) : model_(model) {}

    /// Reads the status again: the main application's when bundled, else `notFound`.
    void refresh();
    /// Registers or unregisters a bundled application; the refusal becomes the row's error.
    void set(bool on);
    std::string detail() const;
    std::optional<std::string> badge() const;
    /// The Login Items pane of System Settings.
    static void openSettings();

  private:
    SettingsModel& model_;
};

}  // namespace kelvo
