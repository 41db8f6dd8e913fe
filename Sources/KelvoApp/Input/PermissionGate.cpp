#include "KelvoApp/Input/PermissionGate.h"

namespace kelvo {

AlertRequest PermissionGate::introduction() {
    return AlertRequest{
        .message = "Kelvo needs Accessibility access",
        .informative =
            "Kelvo moves and arranges your windows, which macOS only allows with Accessibility "
            "access.\n\nClick Continue and macOS will ask you to allow it, and open System "
            "Settings → Privacy & Security → Accessibility. Switch Kelvo on there, then come "
            "back.",
        .buttons = {"Continue", "Quit"},
    };
}

AlertRequest PermissionGate::waiting() {
    return AlertRequest{
        .message = "Waiting for Accessibility access",
        .informative =
            "Switch Kelvo on in System Settings → Privacy & Security → "
            "Accessibility, then click Done.",
        .buttons = {"Done", "Quit"},
    };
}

bool PermissionGate::ensureTrusted(AppPlatform& platform, bool testMode) {
    if (platform.isProcessTrusted(false)) return true;
    if (testMode) return false;
    if (platform.runAlert(introduction()) != firstButton) return false;
    platform.isProcessTrusted(true);
    if (platform.runAlert(waiting()) != firstButton) return false;
    return platform.isProcessTrusted(false);
}

}  // namespace kelvo
