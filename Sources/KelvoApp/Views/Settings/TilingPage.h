#pragma once

#include <string>

#include "KelvoCore/Layout/DesktopLayoutModes.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The Tiling tab: the default layout and the desktops that have their own, click-to-float,
/// the gaps, and the rules. Rebuilt from the model whenever it publishes.
class TilingPage {
  public:
    explicit TilingPage(SettingsModel& model) : model_(model) {}

    /// The Windows, Gaps and Rules cards.
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    SwiftUI::View windowsCard() const;
    SwiftUI::View gapsCard() const;

    /// The desktops with a layout of their own, ascending: "2, 5".
    static std::string handSetDesktopsText(const DesktopLayoutModes& modes);
    /// A gap as the slider reads it out: whole points, "13 pt".
    static std::string gapReadout(double gap);
    /// A gap as it is stored: the nearest whole point, halves away from zero, within the
    /// record's range.
    static double storedGap(double gap);

  private:
    SwiftUI::View gapRow(bool inner) const;

    SettingsModel& model_;
};

}  // namespace kelvo
