#pragma once

#include <optional>

namespace kelvo {

/// On which desktop one of the program's own windows (settings, guide) was opened, so that it
/// leaves with its desktop and comes back with it.
struct OwnWindowDesktop {
    enum class Order {
        /// Its desktop has become visible: bring the window to the front.
        front,
        /// Its desktop was left: order the window out.
        out,
    };

    /// None while the window is closed.
    std::optional<int> home;
    bool isOnScreen = false;

    void opened(int desktop);
    void closed();
    /// Brings `home` within the desktop count and tells whether the window must change.
    std::optional<Order> sync(int visible, int desktopCount);

    bool operator==(const OwnWindowDesktop&) const = default;
};

}  // namespace kelvo
