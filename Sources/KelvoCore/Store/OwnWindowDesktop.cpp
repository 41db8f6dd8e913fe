#include "KelvoCore/Store/OwnWindowDesktop.h"

#include <algorithm>

namespace kelvo {

void OwnWindowDesktop::opened(int desktop) {
    home = desktop;
    isOnScreen = true;
}

void OwnWindowDesktop::closed() {
    home.reset();
    isOnScreen = false;
}

std::optional<OwnWindowDesktop::Order> OwnWindowDesktop::sync(int visible, int desktopCount) {
    if (!home) return std::nullopt;
    // A desktop that no longer exists hands its window to the last one there is.
    if (desktopCount < *home) home = std::max(desktopCount, 1);
    const bool shown = visible == *home;
    if (shown == isOnScreen) return std::nullopt;
    isOnScreen = shown;
    return shown ? Order::front : Order::out;
}

}  // namespace kelvo
