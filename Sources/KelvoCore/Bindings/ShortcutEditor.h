#pragma once

#include <optional>
#include <variant>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Shortcut.h"
#include "KelvoCore/Keys/ShortcutRejection.h"

namespace kelvo {

/// Binding, clearing and resetting shortcuts. Each operation returns a changed copy of the
/// configuration that differs only in `shortcuts`.
class ShortcutEditor {
  public:
    /// The new configuration, or why the chord could not be bound.
    using BindResult = std::variant<Config, ShortcutRejection>;

    /// Checked in order: ⌘ held, neither ⌥ nor ⌃ held, the chord owned by someone else. A
    /// free chord and one the shortcut already holds give none.
    static std::optional<ShortcutRejection> rejection(const Chord& chord, Shortcut shortcut,
                                                      const Config& config);
    /// Never takes a chord from another owner.
    static BindResult bind(const Chord& chord, Shortcut shortcut, const Config& config);
    /// The shortcut keeps no chord and is not counted as displaced.
    static Config clear(Shortcut shortcut, const Config& config);
    /// The shortcut takes its defaults again, those still free.
    static Config reset(Shortcut shortcut, const Config& config);
};

}  // namespace kelvo
