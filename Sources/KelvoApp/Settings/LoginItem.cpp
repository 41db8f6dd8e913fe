#include "KelvoApp/Settings/LoginItem.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Platform/Services/SMAppService.h"

namespace kelvo {

void LoginItem::refresh() {
    model_.loginItemStatus =
        model_.isBundled ? SMAppService::mainApp().status() : SMAppService::Status::notFound;
}

void LoginItem::set(bool on) {
    if (!model_.isBundled) return;
    model_.loginItemError = std::nullopt;
    try {
        if (on) {
            SMAppService::mainApp().registerService();
        } else {
            SMAppService::mainApp().unregisterService();
        }
    } catch (const SMAppService::Error& error) {
        model_.loginItemError = refusalPrefix + error.localizedDescription();
    }
    refresh();
}

std::string LoginItem::detail() const {
    if (!model_.isBundled) {
        return "Kelvo is running from a build directory rather than an installed Kelvo.app, "
               "and only a bundled app can be a login item.";
    }
    switch (model_.loginItemStatus.get()) {
        case SMAppService::Status::enabled:
            return "macOS starts Kelvo when you log in.";
        case SMAppService::Status::requiresApproval:
            return "macOS is holding this until you allow it in System Settings → General → "
                   "Login Items.";
        case SMAppService::Status::notFound:
            return "macOS cannot find this copy of Kelvo to register it. Move Kelvo.app to "
                   "Applications and try again.";
        case SMAppService::Status::notRegistered:
            break;
    }
    return "Off. Kelvo has to be started by hand after each restart.";
}

std::optional<std::string> LoginItem::badge() const {
    if (!model_.isBundled) return "bundled app only";
    if (model_.loginItemStatus.get() == SMAppService::Status::requiresApproval)
        return "needs approval";
    return std::nullopt;
}

void LoginItem::openSettings() {
    NSWorkspace::sharedWorkspace().openURL(settingsURL);
}

}  // namespace kelvo
