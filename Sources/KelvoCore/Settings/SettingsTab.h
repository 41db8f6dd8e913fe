#pragma once

#include <array>
#include <optional>
#include <string>

namespace kelvo {

/// The tabs of the settings window, in sidebar order.
enum class SettingsTab { general, tiling, focus, shortcuts, launcher, system, about };

namespace settings_tab {
inline constexpr std::array<SettingsTab, 7> allCases = {
    SettingsTab::general,  SettingsTab::tiling, SettingsTab::focus, SettingsTab::shortcuts,
    SettingsTab::launcher, SettingsTab::system, SettingsTab::about,
};
}

/// The case name; also the tab's identity.
std::string rawValue(SettingsTab tab);
std::optional<SettingsTab> settingsTabFromRawValue(const std::string& raw);
/// "General", "Tiling", …
std::string title(SettingsTab tab);
/// The name of the system symbol beside the title in the sidebar.
std::string symbol(SettingsTab tab);

}  // namespace kelvo
