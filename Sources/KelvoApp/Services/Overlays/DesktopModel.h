#pragma once

#include <optional>
#include <set>
#include <string>

#include "KelvoCore/Layout/LayoutMode.h"
#include "Platform/SwiftUI/ObservableObject.h"

namespace kelvo {

/// What the status item shows, each value published: the coordinator makes it at start-up and
/// shares it with the status item, which draws from it.
class DesktopModel : public SwiftUI::ObservableObject {
  public:
    template <class T>
    using Published = SwiftUI::Published<T>;

    /// The active desktop's number, from 1.
    Published<int> active{*this, 1};
    /// Desktops that hold at least one window.
    Published<std::set<int>> occupied{*this, {}};
    /// How many desktop tiles there are.
    Published<int> count{*this, 9};
    /// The name shown left of the tiles.
    Published<std::optional<std::string>> focusedApp{*this, std::nullopt};
    /// Whether the name band is shown.
    Published<bool> showName{*this, false};
    /// The active desktop's layout mode.
    Published<LayoutMode> layoutMode{*this, LayoutMode::masterStack};
    /// A desktop whose tile is drawn as if active for a moment.
    Published<std::optional<int>> flashing{*this, std::nullopt};
};

}  // namespace kelvo
