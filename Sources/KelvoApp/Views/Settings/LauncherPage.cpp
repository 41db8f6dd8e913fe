#include "KelvoApp/Views/Settings/LauncherPage.h"

#include <algorithm>

#include "KelvoApp/Applications/TerminalCatalog.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

View LauncherPage::body() const {
    return Group({launcherCard(), terminalCard()});
}

View LauncherPage::launcherCard() const {
    return Card(
        "Launcher",
        withHairlines(
            {settingRow(ID::showLauncher, Switch{configBinding(model_, &Config::showLauncher)}),
             dimmedWhen(settingRow(ID::launcherVimMode,
                                   Switch{configBinding(model_, &Config::launcherVimMode)}),
                        !model_.config().showLauncher)}));
}

View LauncherPage::terminalCard() const {
    // An empty choice is the automatic one: it stores no terminal rather than an empty text.
    const Binding<std::string> terminal = configBinding<std::string>(
        model_,
        [](const Config& config) { return config.terminalBundleID.value_or(std::string()); },
        [](Config& config, const std::string& chosen) {
            config.terminalBundleID =
                chosen.empty() ? std::nullopt : std::optional<std::string>(chosen);
        });
    TerminalOptions items =
        terminalOptions(TerminalCatalog::automatic(), TerminalCatalog::installed(),
                        model_.config().terminalBundleID);
    return Card("Terminal",
                {settingRow(ID::terminal, Choice<std::string>{terminal, std::move(items.options),
                                                              std::move(items.dividersBefore)})});
}

LauncherPage::TerminalOptions LauncherPage::terminalOptions(
    const std::optional<AppEntry>& automatic, const std::vector<AppEntry>& installed,
    const std::optional<std::string>& configured) {
    TerminalOptions items;
    items.options.emplace_back(automatic ? "Automatic (" + automatic->name + ")" : "Automatic", "");
    items.dividersBefore.push_back(items.options.size());
    for (const AppEntry& entry : installed)
        items.options.emplace_back(entry.name, entry.bundleID);
    const bool listed =
        configured && std::any_of(installed.begin(), installed.end(), [&](const AppEntry& entry) {
            return entry.bundleID == *configured;
        });
    if (configured && !listed) {
        items.dividersBefore.push_back(items.options.size());
        items.options.emplace_back(*configured, *configured);
    }
    return items;
}

}  // namespace kelvo
