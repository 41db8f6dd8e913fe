#pragma once

#include <optional>
#include <vector>

#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoCore/Geometry/Display.h"

namespace kelvo {

/// The screens of the application framework (bottom-left, y upwards) in the top-left
/// coordinates of window frames, measured against the first screen.
struct ScreenGeometry {
    ScreenGeometry() = delete;

    /// The store's screen when there is no main screen at launch.
    static CGRect fallbackFrame() { return CGRect(0, 30, 3360, 1860); }

    /// The main screen below its menu bar (the Dock is not taken off); none without a main
    /// screen. Converted like every attached display, so a main screen that is not the first
    /// one lands where its windows are.
    static std::optional<CGRect> axScreenFrame(const std::optional<ScreenDescription>& main,
                                               const std::vector<ScreenDescription>& screens);
    /// The menu-bar strip of every screen, in the screens' order.
    static std::vector<CGRect> menuBarStrips(const std::vector<ScreenDescription>& screens);
    /// One display per screen that has a screen number, each below its menu bar.
    static std::vector<Display> attachedDisplays(const std::vector<ScreenDescription>& screens);

  private:
    static CGRect belowMenuBar(const ScreenDescription& screen, double firstMaxY);
};

}  // namespace kelvo
