#pragma once

#include <cstdint>
#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The Focus tab: the border around the focused window and focus that follows the pointer.
/// The border's own rows and the pointer's delay are dimmed while their switch is off.
class FocusPage {
  public:
    static constexpr double delayStep = 25;

    explicit FocusPage(SettingsModel& model) : model_(model) {}

    /// The Focus border and Pointer cards.
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    SwiftUI::View borderCard() const;
    SwiftUI::View pointerCard() const;

    /// "35%" for 0.346.
    static std::string opacityReadout(double opacity);
    /// "16pt".
    static std::string radiusReadout(double radius);
    /// "250ms".
    static std::string delayReadout(double milliseconds);
    /// What a moved slider stores: the radius in whole points, within the border's limits.
    static double storedRadius(double radius);
    /// The delay in whole milliseconds, within its limits; a value that is no number is none.
    static std::int64_t storedDelay(double milliseconds);

  private:
    SwiftUI::View opacityRow() const;
    SwiftUI::View radiusRow() const;
    SwiftUI::View delayRow() const;

    SettingsModel& model_;
};

}  // namespace kelvo
