#include "KelvoApp/Coordinator/OwnWindows.h"

#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "KelvoApp/Services/Overlays/DesktopModel.h"
#include "KelvoApp/Services/Overlays/MenuBarController.h"
#include "KelvoApp/Services/Overlays/SwitchHUD.h"
#include "KelvoApp/Services/Windows/GuideWindowController.h"
#include "KelvoApp/Services/Windows/SettingsWindowController.h"
#include "KelvoApp/Updates/Updates.h"
#include "KelvoApp/Views/CheatsheetView.h"
#include "KelvoCore/Bindings/KeyReference.h"

namespace kelvo {

OwnWindows::OwnWindows(const CoordinatorProcess& process, const ProcessLog& log,
                       StoreWiring& wiring, const ConfigurationChanges& configuration,
                       Callbacks callbacks)
    : process_(process),
      log_(log),
      wiring_(wiring),
      configuration_(configuration),
      callbacks_(std::move(callbacks)) {}

OwnWindows::~OwnWindows() = default;

// ---- Making them ------------------------------------------------------------------------------

void OwnWindows::make() {
    makeOwnWindows();
    makeStatusItem();
    wireOwnWindows();
}

void OwnWindows::makeOwnWindows() {
    desktopModel_ = std::make_unique<DesktopModel>();
    updates_ = std::make_unique<Updates>();
    settingsWindow_ =
        std::make_unique<SettingsWindowController>(configuration_.store(), log_.url());
    settingsWindow_->model.updates = updates_.get();
    saveFailures_ =
        std::make_unique<SaveFailureLog>(configuration_.store(), settingsWindow_->model, log_);
    updates_->start();
    guideWindow_ = std::make_unique<GuideWindowController>(settingsWindow_->model);
    presence_ = std::make_unique<AppPresence>(*process_.platform);
    settingsWindow_->presence = presence_.get();
    guideWindow_->presence = presence_.get();
}

void OwnWindows::makeStatusItem() {
    menuBar_ = std::make_unique<MenuBarController>(
        *desktopModel_, wiring_.store().desktopCount(), configuration_.config().showFocusedAppName,
        MenuBarController::Callbacks{
            .onSettings = [this] { showSettings(); },
            .onGuide = [this] { showGuide(); },
            .onCheatsheet = [this] { toggleCheatsheet(); },
            .shortcutsChord = [this] { return shortcutsChord(); },
            .onRebalance =
                [this] {
                    wiring_.store().rebalance();
                    desktopRefresh();
                },
            .onQuit = [this] { callbacks_.quit(); },
        });
    hud_ = std::make_unique<SwitchHUD>();
    wiring_.statusItemMade();
    cheatsheet_ = std::make_unique<CheatsheetPanelController>(
        [this] { return KeyReference::sections(configuration_.config()); });
    guideWindow_->anchor = [this] { return statusItemAnchor(); };
}

void OwnWindows::wireOwnWindows() {
    settingsWindow_->onClose = [this] {
        settingsDesktop_.closed();
        log_.log("settings window closed");
    };
    guideWindow_->onClose = [this] {
        guideDesktop_.closed();
        log_.log("guide closed");
    };
    guideWindow_->model.onOpenSettings = [this] { showSettings(); };
    settingsWindow_->model.openGuide = [this] { showGuide(); };
}

void OwnWindows::onShortcutRecording(std::function<void(bool)> suspendKeys) {
    settingsWindow().model.setHotkeysSuspended = std::move(suspendKeys);
}

void OwnWindows::adoptConfiguration(const Config& next) {
    settingsWindow().model.adopt(next);
}

// ---- The settings window and the guide --------------------------------------------------------

void OwnWindows::showSettings() {
    const int active = wiring_.store().activeDesktop();
    settingsDesktop_.opened(active);
    settingsWindow().show();
    log_.log("settings window opened on desktop " + std::to_string(active));
}

void OwnWindows::showGuide() {
    const int active = wiring_.store().activeDesktop();
    guideDesktop_.opened(active);
    guideWindow().show();
    log_.log("guide opened on desktop " + std::to_string(active));
}

template <class Controller>
void OwnWindows::syncOwnWindow(OwnWindowDesktop& desktop, Controller& controller,
                               const std::string& what, bool endsRecording) {
    const auto order =
        desktop.sync(wiring_.store().activeDesktop(), wiring_.store().desktopCount());
    if (!order) return;
    const std::string home = desktop.home ? std::to_string(*desktop.home) : "?";
    if (*order == OwnWindowDesktop::Order::out) {
        if (endsRecording) settingsWindow().model.endRecording(true);
        controller.orderOut();
        log_.log("  " + what + " belongs to desktop " + home +
                 " - hiding it until you go back there");
        return;
    }
    controller.orderFront();
    log_.log("  " + what + " belongs to desktop " + home + " - showing it again");
}

void OwnWindows::syncOwnWindows() {
    syncOwnWindow(settingsDesktop_, settingsWindow(), "the settings window", true);
    syncOwnWindow(guideDesktop_, guideWindow(), "the guide", false);
}

bool OwnWindows::ownWindowHasKeyboard() const {
    return settingsWindow().isKey() || guideWindow().isKey();
}

void OwnWindows::reportSaveFailure() {
    if (saveFailures_) saveFailures_->report();
}

// ---- The status item and the panels -----------------------------------------------------------

void OwnWindows::desktopRefresh() {
    const WorkspaceStore& store = wiring_.store();
    statusItem().setDesktops(store.activeDesktop(), store.occupiedDesktops());
    statusItem().setLayoutMode(store.layoutMode(store.activeDesktop()));
}

void OwnWindows::setFocusedApp(const std::optional<std::string>& name) {
    statusItem().setFocusedApp(name);
}

void OwnWindows::setDesktopCount(int count) {
    statusItem().setDesktopCount(count);
}

void OwnWindows::setShowsName(bool shows) {
    statusItem().setShowsName(shows);
}

void OwnWindows::flash(int desktop) {
    statusItem().flash(desktop);
}

void OwnWindows::showSwitchDisplay(int desktop) {
    if (configuration_.config().showSwitchHUD) switchDisplay().show(desktop);
}

void OwnWindows::toggleCheatsheet() {
    cheatsheet().toggle();
}

bool OwnWindows::cheatsheetShown() const {
    return cheatsheet_ && cheatsheet_->isShown();
}

void OwnWindows::putAwayCheatsheet() {
    if (!cheatsheetShown()) return;
    cheatsheet().putAway();
    log_.log("Escape put the cheat sheet away");
}

long OwnWindows::switchDisplayWindowNumber() const {
    return hud_ ? static_cast<long>(hud_->windowNumber()) : 0L;
}

std::string OwnWindows::shortcutsChord() const {
    return CheatsheetView::ownKeys(KeyReference::sections(configuration_.config())).value_or("");
}

std::optional<CGRect> OwnWindows::statusItemAnchor() const {
    const auto frame = statusItem().buttonWindowFrame();
    if (!frame || frame->width() <= 0 || frame->height() <= 0 || frame->maxX() <= 0) {
        return std::nullopt;
    }
    return frame;
}

}  // namespace kelvo
