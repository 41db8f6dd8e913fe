#include "KelvoCore/Settings/SettingsTab.h"

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

namespace {

struct TabText {
    const char* raw;
    const char* title;
    const char* symbol;
};

constexpr std::array<TabText, settings_tab::allCases.size()> tabTexts = {{
    {"general", "General", "gearshape"},
    {"tiling", "Tiling", "rectangle.split.2x2"},
    {"focus", "Focus", "viewfinder"},
    {"shortcuts", "Shortcuts", "keyboard"},
    {"launcher", "Launcher", "magnifyingglass"},
    {"system", "System", "desktopcomputer"},
    {"about", "About", "info.circle"},
}};

const TabText& text(SettingsTab tab) {
    return tabTexts[static_cast<std::size_t>(tab)];
}

}  // namespace

std::string rawValue(SettingsTab tab) {
    return text(tab).raw;
}

std::optional<SettingsTab> settingsTabFromRawValue(const std::string& raw) {
    return caseWithRawValue<SettingsTab>(settings_tab::allCases, raw,
                                         [](SettingsTab t) { return rawValue(t); });
}

std::string title(SettingsTab tab) {
    return text(tab).title;
}

std::string symbol(SettingsTab tab) {
    return text(tab).symbol;
}

}  // namespace kelvo
