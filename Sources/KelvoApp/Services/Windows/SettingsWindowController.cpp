#include "KelvoApp/Services/Windows/SettingsWindowController.h"

#include <algorithm>

#include "KelvoApp/Applications/AppCatalog.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Windows/DarkTitledWindow.h"
#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/DockRestarter.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSScreen.h"

namespace kelvo {

SettingsWindowController::SettingsWindowController(ConfigStore& store,
                                                   const std::filesystem::path& logURL)
    : store(store),
      model(store,
            SystemTweakService(std::make_shared<CFPreferenceStore>(), DockRestarter::restart),
            logURL) {}

SettingsWindowController::~SettingsWindowController() {
    if (window) window->setDelegate(nullptr);
}

CGFloat SettingsWindowController::height(std::optional<CGFloat> visibleHeight) {
    if (!visibleHeight) return heightWithoutScreen;
    return std::clamp(*visibleHeight - screenMargin, minimumHeight, maximumHeight);
}

void SettingsWindowController::show() {
    model.runningApps = AppCatalog::running();
    model.refreshLoginItem();
    model.sizingOwed = true;
    if (!window) buildWindow();
    NSApplication::sharedApplication().activateIgnoringOtherApps(true);
    // Only a window that was closed counts as opened: showing an open window again must not
    // keep the application in the Dock after it closes.
    if (!open_) {
        open_ = true;
        if (presence) presence->windowOpened();
    }
    window->makeKeyAndOrderFront(nullptr);
}

void SettingsWindowController::buildWindow() {
    SettingsModel* const shown = &model;
    host_ =
        std::make_shared<SwiftUI::NSHostingView>([shown] { return SettingsView(*shown).body(); });
    host_->observe(model);
    host_->setSizingOptions(SwiftUI::NSHostingSizingOptions::none);

    const NSScreenRef screen = NSScreen::mainScreen();
    const CGFloat h =
        height(screen ? std::optional<CGFloat>(screen->visibleFrame().height()) : std::nullopt);
    window = std::make_shared<NSWindow>(CGRect(0, 0, width, h), darkTitledStyle,
                                        NSBackingStoreBuffered, false);
    dressDarkTitledWindow(*window, title, level, host_, CGSize{width, h},
                          CGSize{minimumWidth, minimumHeight});
    window->center();
    window->setDelegate(this);
    model.window = window;
}

void SettingsWindowController::close() {
    if (window && open_) window->close();
}

void SettingsWindowController::orderOut() {
    if (window) window->orderOut(nullptr);
}

void SettingsWindowController::orderFront() {
    if (window && open_) window->orderFront(nullptr);
}

void SettingsWindowController::windowWillClose(NSWindow&) {
    if (open_) {
        open_ = false;
        if (presence) presence->windowClosed();
    }
    model.endRecording(true);
    store.flush();
    if (onClose) onClose();
}

void SettingsWindowController::windowDidResignKey(NSWindow&) {
    model.endRecording(true);
}

}  // namespace kelvo
