#pragma once

#include <functional>
#include <optional>

#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoCore/Config/HexColor.h"
#include "Platform/Foundation/CGGeometry.h"

namespace kelvo {

/// The thin coloured frame around the focused window: a borderless, click-through panel one
/// point larger than the window on every side, whose layer draws only a border.
class FocusBorder {
  public:
    /// What the panel's layer draws.
    struct BorderLayer {
        HexColor borderColor = HexColor::white();
        double borderWidth = 2.0;
        double opacity = 1;
        double cornerRadius = 0;
        bool operator==(const BorderLayer&) const = default;
    };

    static constexpr double borderWidth = 2.0;
    static constexpr double outset = 1.0;
    static constexpr double fallbackOpacity = 0.35;
    static constexpr double fallbackCornerRadius = 17;
    static constexpr double maximumCornerRadius = 32;
    /// The floating window level.
    static constexpr int level = 3;

    /// `firstScreenHeight` answers the height of the first screen, none without screens.
    FocusBorder(HexColor color, double opacity, double cornerRadius,
                std::function<std::optional<double>()> firstScreenHeight);

    void setAppearance(HexColor color, double opacity, double cornerRadius);
    /// Puts the border around a window frame given in top-left coordinates.
    void show(const CGRect& axFrame);

    OwnPanel panel;
    BorderLayer borderLayer;
    /// Frame changes and order-fronts so far, for the suites that check nothing moved.
    int frameChanges = 0;
    int orderFronts = 0;

  private:
    std::function<std::optional<double>()> firstScreenHeight_;
};

}  // namespace kelvo
