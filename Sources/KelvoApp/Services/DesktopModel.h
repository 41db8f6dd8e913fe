#pragma once

#include <optional>
#include <set>
#include <string>

#include "KelvoCore/Layout/LayoutMode.h"

namespace kelvo {

/// What the status item shows: the observable model the coordinator makes at start-up and
/// hands to the status item.
struct DesktopModel {
    int active = 1;
    std::set<int> occupied;
    int count = 0;
    std::optional<std::string> focusedApp;
    bool showName = false;
    LayoutMode layoutMode = LayoutMode::bsp;
    std::optional<int> flashing;
};

}  // namespace kelvo
