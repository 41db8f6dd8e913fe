#pragma once

#include <array>
#include <optional>
#include <string>

#include "KelvoCore/Keys/Command.h"

namespace kelvo {

/// The rebindable keyboard shortcuts, in the order every resolution pass walks them. The
/// desktop switches and throws are not among them: they are bound to the digit keys.
enum class Shortcut {
    focusLeft,
    focusDown,
    focusUp,
    focusRight,
    moveLeft,
    moveDown,
    moveUp,
    moveRight,
    resizeLeft,
    resizeDown,
    resizeUp,
    resizeRight,
    zoom,
    rebalance,
    split,
    rotate,
    float_,  // raw value "float"
    newTerminal,
    launcher,
    promoteToMaster,
    layoutMode,
    showDesktop,
    cheatsheet,
};

namespace shortcut {
inline constexpr std::array<Shortcut, 23> allCases = {
    Shortcut::focusLeft,  Shortcut::focusDown,   Shortcut::focusUp,    Shortcut::focusRight,
    Shortcut::moveLeft,   Shortcut::moveDown,    Shortcut::moveUp,     Shortcut::moveRight,
    Shortcut::resizeLeft, Shortcut::resizeDown,  Shortcut::resizeUp,   Shortcut::resizeRight,
    Shortcut::zoom,       Shortcut::rebalance,   Shortcut::split,      Shortcut::rotate,
    Shortcut::float_,     Shortcut::newTerminal, Shortcut::launcher,   Shortcut::promoteToMaster,
    Shortcut::layoutMode, Shortcut::showDesktop, Shortcut::cheatsheet,
};
}  // namespace shortcut

/// The case name, also the shortcut's key in the configuration.
std::string rawValue(Shortcut shortcut);
/// Exactly a case name; anything else gives none.
std::optional<Shortcut> shortcutFromRawValue(const std::string& raw);
/// The title people see ("Focus left", "Move the edge up", …).
std::string title(Shortcut shortcut);
Command command(Shortcut shortcut);

}  // namespace kelvo
