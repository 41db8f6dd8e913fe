#include "KelvoApp/Views/Settings/RulesCard.h"

#include <algorithm>
#include <set>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/GeneralPage.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/RuleList.h"
#include "KelvoApp/Views/Settings/ValueControls.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

View RulesCard::body() const {
    return Card("Rules", withHairlines({ruleList(true), ruleList(false), stashEnabledRow(),
                                        stashDesktopRow()}));
}

View RulesCard::ruleList(bool floating) const {
    SettingsModel* model = &model_;
    const SettingsModel::RuleList list =
        floating ? &Config::floatBundleIDs : &Config::ignoreBundleIDs;
    const TextSet& listed = model_.config().*list;
    // Only the user's own identifiers: the built-in ones are never listed or edited here.
    return RuleList{
        .entry = SettingsCatalog::entry(floating ? ID::floatRules : ID::ignoreRules),
        .bundleIDs = std::set<std::string>(listed.begin(), listed.end()),
        .running = model_.runningApps.get(),
        .add = [model, list](const std::string& bundleID) { model->add(bundleID, list); },
        .remove = [model, list](const std::string& bundleID) { model->remove(bundleID, list); }};
}

View RulesCard::stashEnabledRow() const {
    const Binding<bool> enabled = configBinding<bool>(
        model_, [](const Config& config) { return config.stashDesktop.has_value(); },
        [](Config& config, const bool& on) {
            config.stashDesktop =
                on ? std::optional<std::int64_t>(config.desktopCount) : std::nullopt;
        });
    return settingRow(ID::stashEnabled, Switch{enabled});
}

View RulesCard::stashDesktopRow() const {
    const Binding<std::int64_t> desktop = configBinding<std::int64_t>(
        model_, shownStashDesktop,
        [](Config& config, const std::int64_t& chosen) { config.stashDesktop = chosen; });
    std::vector<std::pair<std::string, std::int64_t>> options;
    for (std::int64_t n = 1; n <= lastStashChoice(model_.config()); ++n)
        options.emplace_back("Desktop " + std::to_string(n), n);
    return dimmedWhen(settingRow(ID::stashDesktop, Choice<std::int64_t>{desktop, options}),
                      !model_.config().stashDesktop.has_value());
}

std::int64_t RulesCard::lastStashChoice(const Config& config) {
    return std::clamp<std::int64_t>(config.desktopCount, 1, GeneralPage::mostDesktops);
}

std::int64_t RulesCard::shownStashDesktop(const Config& config) {
    return std::clamp<std::int64_t>(config.stashDesktop.value_or(config.desktopCount), 1,
                                    lastStashChoice(config));
}

}  // namespace kelvo
