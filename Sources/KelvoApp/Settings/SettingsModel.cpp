#include "KelvoApp/Settings/SettingsModel.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Settings/AboutReadouts.h"
#include "KelvoApp/Settings/LoginItem.h"
#include "KelvoApp/Settings/SettingsTransfer.h"
#include "KelvoApp/Settings/ShortcutRecorder.h"
#include "KelvoApp/Settings/TweakSwitches.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Platform/AppKit/NSBundle.h"

namespace kelvo {

namespace {

bool runsFromApplicationBundle() {
    return NSBundle::mainBundle().bundleURL().extension() == ".app";
}

}  // namespace

std::string SettingsModel::displayPath(const std::string& path, const std::string& home) {
    // Only a leading home folder is the home folder: "/Users/a" is no part of "/Users/ab", and
    // a home of "/" would otherwise turn every separator into "~".
    std::string prefix = home;
    while (prefix.size() > 1 && prefix.back() == '/')
        prefix.pop_back();
    if (prefix.empty() || prefix == "/" || !path.starts_with(prefix)) return path;
    if (path.size() == prefix.size()) return "~";
    if (path[prefix.size()] != '/') return path;
    return "~" + path.substr(prefix.size());
}

SettingsModel::SettingsModel(ConfigStore& store, SystemTweakService tweaks,
                             std::filesystem::path logURL)
    : store(store),
      loadFailed(*this, store.loadFailed()),
      configPath(displayPath(store.url().string(), homeDirectory().string())),
      configURL(store.url()),
      logURL(std::move(logURL)),
      tweaks(std::move(tweaks)),
      isBundled(runsFromApplicationBundle()),
      config_(*this, store.config()),
      recorder_(std::make_unique<ShortcutRecorder>(*this)),
      loginItem_(std::make_unique<LoginItem>(*this)),
      transfer_(std::make_unique<SettingsTransfer>(*this)),
      about_(std::make_unique<AboutReadouts>(*this)),
      tweakSwitches_(std::make_unique<TweakSwitches>(*this)),
      alive_(std::make_shared<SettingsModel*>(this)) {
    installWriteHook();
}

SettingsModel::~SettingsModel() {
    recorder_->end(true);
}

void SettingsModel::installWriteHook() {
    store.onWrite = [alive =
                         std::weak_ptr<SettingsModel*>(alive_)](const ConfigStore::Error& error) {
        const auto model = alive.lock();
        if (!model) return;
        SettingsModel& self = **model;
        if (error) {
            self.writeError = ConfigStore::describe(error);
            return;
        }
        if (self.writeError.get()) self.writeError = std::nullopt;
        if (self.loadFailed.get()) self.loadFailed = false;
    };
}

// ---- The configuration ------------------------------------------------------------------------

void SettingsModel::setConfig(Config next) {
    config_ = std::move(next);
    if (!applyingExternally) store.set(config_.get());
}

void SettingsModel::updateConfig(const std::function<void(Config&)>& change) {
    Config next = config();
    change(next);
    setConfig(std::move(next));
}

void SettingsModel::adopt(const Config& changed) {
    if (changed == config()) return;
    applyingExternally = true;
    setConfig(changed);
    applyingExternally = false;
}

void SettingsModel::markGuideSeen() {
    if (config().guideSeen) return;
    updateConfig([](Config& next) { next.guideSeen = true; });
}

// ---- Tabs, search and reveal ------------------------------------------------------------------

void SettingsModel::setSection(SettingsTab tab) {
    const SettingsTab previous = section();
    section_ = tab;
    if (tab == previous) return;
    endRecording(true);
    recordNotice = std::nullopt;
    sizingOwed = true;
}

void SettingsModel::openSearch() {
    search.modify([this](SettingsSearch& state) {
        state.setCatalogue(config());
        state.reset();
    });
    endRecording(true);
    searchOpen = true;
}

void SettingsModel::typeSearch(const std::string& text) {
    search.modify([this, &text](SettingsSearch& state) {
        state.setCatalogue(config());
        state.type(text);
    });
    // A drop-down opened by typing closes on Escape like one opened by ⌘K.
    if (!text.empty() && !searchOpen.get()) searchOpen = true;
}

void SettingsModel::commitSearch(const std::optional<SettingEntry>& entry) {
    const std::optional<SettingEntry> target = entry ? entry : search->chosen();
    if (!target) return;
    searchOpen = false;
    resetQuery();
    setSection(target->tab);
    revealSetting(target->id);
}

void SettingsModel::closeSearch() {
    if (!searchOpen.get()) return;
    searchOpen = false;
    resetQuery();
}

void SettingsModel::resetQuery() {
    search.modify([](SettingsSearch& state) { state.reset(); });
}

void SettingsModel::revealSetting(const std::string& id) {
    revealTick += 1;
    const int tick = revealTick;
    reveal = Reveal{id, tick};
    flashing = id;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + flashDuration,
                                     [alive = std::weak_ptr<SettingsModel*>(alive_), tick] {
                                         const auto model = alive.lock();
                                         if (!model || (*model)->revealTick != tick) return;
                                         (*model)->flashing = std::nullopt;
                                     });
}

// ---- Shortcut recording -----------------------------------------------------------------------

void SettingsModel::beginRecording(Shortcut shortcut) {
    recorder_->begin(shortcut);
}

void SettingsModel::endRecording(bool resumeHotkeys) {
    recorder_->end(resumeHotkeys);
}

void SettingsModel::clearShortcut(Shortcut shortcut) {
    recorder_->clear(shortcut);
}

void SettingsModel::resetShortcut(Shortcut shortcut) {
    recorder_->reset(shortcut);
}

void SettingsModel::resetAllShortcuts() {
    recorder_->resetAll();
}

// ---- Login item -------------------------------------------------------------------------------

void SettingsModel::refreshLoginItem() {
    loginItem_->refresh();
}

void SettingsModel::setLoginItem(bool on) {
    loginItem_->set(on);
}

std::string SettingsModel::loginItemDetail() const {
    return loginItem_->detail();
}

std::optional<std::string> SettingsModel::loginItemBadge() const {
    return loginItem_->badge();
}

void SettingsModel::openLoginItemsSettings() {
    LoginItem::openSettings();
}

// ---- Settings transfer ------------------------------------------------------------------------

void SettingsModel::exportSettings() {
    transfer_->exportSettings();
}

void SettingsModel::importSettings() {
    transfer_->importSettings();
}

void SettingsModel::restoreDefaults() {
    transfer_->restoreDefaults();
}

// ---- About ------------------------------------------------------------------------------------

std::string SettingsModel::versionString() const {
    return about_->versionString();
}

std::string SettingsModel::buildDetail() const {
    return about_->buildDetail();
}

int SettingsModel::crashCount() {
    return about_->crashCount();
}

void SettingsModel::revealConfigFile() {
    AboutReadouts::reveal(configURL);
}

void SettingsModel::revealLogFile() {
    AboutReadouts::reveal(logURL);
}

std::optional<std::filesystem::path> SettingsModel::reportProblem() {
    return about_->reportProblem();
}

// ---- System tweaks and rules ------------------------------------------------------------------

bool SettingsModel::isOn(const SystemTweak& tweak) const {
    return config().systemTweaks.contains(tweak.id);
}

void SettingsModel::set(const SystemTweak& tweak, bool on) {
    tweakSwitches_->set(tweak, on);
}

void SettingsModel::revertAllTweaks() {
    tweakSwitches_->revertAll();
}

void SettingsModel::add(const std::string& bundleID, RuleList list) {
    const std::string trimmed = UnicodeText::trimmingWhitespaceAndNewlines(bundleID);
    if (trimmed.empty()) return;
    updateConfig([&](Config& next) { (next.*list).insert(trimmed); });
}

void SettingsModel::remove(const std::string& bundleID, RuleList list) {
    updateConfig([&](Config& next) { (next.*list).erase(bundleID); });
}

}  // namespace kelvo
