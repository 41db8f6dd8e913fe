#pragma once

#include <vector>

#include "KelvoCore/Store/ScreenWindow.h"

namespace kelvo {

/// The window server's view of what is on screen.
struct ScreenWindows {
    /// The on-screen windows, front to back as the window server lists them; rows that lack a
    /// number, a layer, an owner or bounds are skipped, and no list gives none.
    static std::vector<ScreenWindow> onScreen();
};

}  // namespace kelvo
