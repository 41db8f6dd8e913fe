#include "KelvoApp/Settings/SettingsModel.h"

#include "KelvoCore/Config/ConfigStore.h"

namespace kelvo {

SettingsModel::SettingsModel(ConfigStore& store, SystemTweakService tweaks)
    : store(store),
      configURL(store.url()),
      tweaks(std::move(tweaks)),
      isBundled(false),
      config_(*this, store.config()),
      alive_(std::make_shared<SettingsModel*>(this)) {}

SettingsModel::~SettingsModel() = default;

void SettingsModel::setConfig(Config next) {
    config_ = std::move(next);
    if (!applyingExternally) store.set(config_.get());
}

void SettingsModel::updateConfig(const std::function<void(Config&)>& change) {
    Config next = config();
    change(next);
    setConfig(std::move(next));
}

void SettingsModel::adopt(const Config&) {}
void SettingsModel::markGuideSeen() {}
void SettingsModel::setSection(SettingsTab tab) {
    section_ = tab;
}
void SettingsModel::openSearch() {}
void SettingsModel::typeSearch(const std::string&) {}
void SettingsModel::commitSearch(const std::optional<SettingEntry>&) {}
void SettingsModel::closeSearch() {}
void SettingsModel::revealSetting(const std::string&) {}
void SettingsModel::beginRecording(Shortcut) {}
void SettingsModel::endRecording(bool) {}
void SettingsModel::clearShortcut(Shortcut) {}
void SettingsModel::resetShortcut(Shortcut) {}
void SettingsModel::resetAllShortcuts() {}
void SettingsModel::refreshLoginItem() {}
void SettingsModel::setLoginItem(bool) {}
std::string SettingsModel::loginItemDetail() const {
    return {};
}
std::optional<std::string> SettingsModel::loginItemBadge() const {
    return std::nullopt;
}
void SettingsModel::openLoginItemsSettings() {}
void SettingsModel::exportSettings() {}
void SettingsModel::importSettings() {}
void SettingsModel::restoreDefaults() {}
std::string SettingsModel::versionString() const {
    return "development";
}
std::string SettingsModel::buildDetail() const {
    return {};
}
int SettingsModel::crashCount() {
    return 0;
}
void SettingsModel::revealConfigFile() {}
void SettingsModel::revealLogFile() {}
std::optional<std::filesystem::path> SettingsModel::reportProblem() {
    return std::nullopt;
}
bool SettingsModel::isOn(const SystemTweak&) const {
    return false;
}
void SettingsModel::set(const SystemTweak&, bool) {}
void SettingsModel::revertAllTweaks() {}
void SettingsModel::add(const std::string&, RuleList) {}
void SettingsModel::remove(const std::string&, RuleList) {}
void SettingsModel::installWriteHook() {}
void SettingsModel::resetQuery() {}

}  // namespace kelvo
