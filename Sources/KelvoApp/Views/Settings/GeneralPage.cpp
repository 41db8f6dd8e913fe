#include "KelvoApp/Views/Settings/GeneralPage.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

View GeneralPage::body() const {
    return Group({desktopsCard(), menuBarCard(), startupCard()});
}

View GeneralPage::desktopsCard() const {
    return Card(
        "Desktops",
        withHairlines(
            {desktopCountRow(model_),
             settingRow(ID::switchHUD, Switch{configBinding(model_, &Config::showSwitchHUD)}),
             settingRow(ID::followActivation,
                        Switch{configBinding(model_, &Config::followActivationToDesktop)})}));
}

View GeneralPage::menuBarCard() const {
    return Card("Menu bar",
                {settingRow(ID::focusedAppInMenuBar,
                            Switch{configBinding(model_, &Config::showFocusedAppName)})});
}

View GeneralPage::startupCard() const {
    return Card("Startup", {openAtLoginRow()});
}

View GeneralPage::desktopCountRow(SettingsModel& model) {
    const Binding<long long> count = configBinding<long long>(
        model, [](const Config& config) { return static_cast<long long>(config.desktopCount); },
        [](Config& config, const long long& value) { config.desktopCount = value; });
    SettingRow row = settingRow(ID::desktopCount, Counter{count, fewestDesktops, mostDesktops});
    row.detail = desktopRangeText(model.config().desktopCount);
    return row;
}

std::string GeneralPage::desktopRangeText(std::int64_t desktopCount) {
    return "⌥1 through ⌥" + std::to_string(desktopCount) + " switch between them.";
}

View GeneralPage::openAtLoginRow() const {
    SettingRow row = settingRow(ID::openAtLogin, loginControl());
    row.detail = model_.loginItemDetail();
    row.badge = model_.loginItemBadge();
    row.caution = model_.loginItemError.get();
    return row.body().opacity(model_.isBundled ? 1 : unbundledLoginRowOpacity);
}

View GeneralPage::loginControl() const {
    SettingsModel* model = &model_;
    if (model_.loginItemStatus.get() == SMAppService::Status::requiresApproval)
        return Action{"Open Login Items…", [model] { model->openLoginItemsSettings(); }};
    const Binding<bool> registered(
        [model] { return model->loginItemStatus.get() == SMAppService::Status::enabled; },
        [model](const bool& on) { model->setLoginItem(on); });
    return Switch{registered}.body().disabled(!model_.isBundled);
}

}  // namespace kelvo
