#include "KelvoApp/Services/SettingsWindowController.h"

#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoCore/Config/ConfigStore.h"

namespace kelvo {

SettingsWindowController::SettingsWindowController(ConfigStore& store)
    : store(store),
      model(store, SystemTweakService(std::make_shared<CFPreferenceStore>(), nullptr)) {}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::show() {}
void SettingsWindowController::close() {}
void SettingsWindowController::orderOut() {}
void SettingsWindowController::orderFront() {}
CGFloat SettingsWindowController::height(std::optional<CGFloat>) {
    return heightWithoutScreen;
}
void SettingsWindowController::windowWillClose(NSWindow&) {}
void SettingsWindowController::windowDidResignKey(NSWindow&) {}
void SettingsWindowController::buildWindow() {}

}  // namespace kelvo
