#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "KelvoCore/Keys/CaseTable.h"
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
inline constexpr std::size_t count = 23;
inline constexpr std::array<Shortcut, count> allCases = allCasesOf<Shortcut, count>();
}  // namespace shortcut

/// The keys of a shortcut's default chords, which the configuration's modifiers complete: one
/// key, or a letter and an arrow; with shift or not; with both modifiers (the resize family)
/// or the primary one alone.
struct DefaultKeys {
    std::uint16_t key = 0;
    std::optional<std::uint16_t> arrow = std::nullopt;
    bool shift = false;
    bool secondaryHeld = false;
};

/// The case name, also the shortcut's key in the configuration.
std::string rawValue(Shortcut shortcut);
/// Exactly a case name; anything else gives none.
std::optional<Shortcut> shortcutFromRawValue(const std::string& raw);
/// The title people see ("Focus left", "Move the edge up", …).
std::string title(Shortcut shortcut);
Command command(Shortcut shortcut);
DefaultKeys defaultKeys(Shortcut shortcut);

}  // namespace kelvo
