#include "KelvoApp/Services/SettingsWindowController.h"

#include "KelvoApp/Input/AppPresence.h"

#include "KelvoCore/Config/ConfigStore.h"

namespace kelvo {

void SettingsModel::adopt(const Config& changed) {
    if (changed == config) return;
    log.note("adopt()");
    config = changed;
}

void SettingsModel::endRecording(bool resumeHotkeys) {
    log.note(std::string("endRecording(") + (resumeHotkeys ? "true" : "false") + ")");
    if (!recording) return;
    recording = false;
    if (resumeHotkeys && setHotkeysSuspended) setHotkeysSuspended(false);
}

void SettingsModel::beginRecording() {
    recording = true;
    if (setHotkeysSuspended) setHotkeysSuspended(true);
}

SettingsWindowController::SettingsWindowController(ConfigStore& store) : model(store.config()) {}

void SettingsWindowController::show() {
    log.note("show()");
    if (!window) window = OwnPanel{};
    if (!window->visible && presence) presence->windowOpened();
    window->orderFront();
    window->key = true;
}

void SettingsWindowController::close() {
    if (window && window->visible && presence) presence->windowClosed();
    if (window) window->orderOut();
    if (onClose) onClose();
}

void SettingsWindowController::orderOut() {
    if (window) window->orderOut();
}

void SettingsWindowController::orderFront() {
    if (window) window->orderFront();
}

}  // namespace kelvo
