#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Keys/Shortcut.h"

namespace kelvo {

/// Who holds a chord: a rebindable shortcut, or the switch to or throw to a desktop.
class ShortcutOwner {
  public:
    enum class Kind { shortcut, desktopSwitch, desktopThrow };

    static ShortcutOwner shortcut(Shortcut s) { return ShortcutOwner(Kind::shortcut, s, 0); }
    static ShortcutOwner desktopSwitch(int desktop) {
        return ShortcutOwner(Kind::desktopSwitch, Shortcut::focusLeft, desktop);
    }
    static ShortcutOwner desktopThrow(int desktop) {
        return ShortcutOwner(Kind::desktopThrow, Shortcut::focusLeft, desktop);
    }

    Kind kind() const { return kind_; }
    /// The shortcut of `shortcut`; none for the desktop owners.
    std::optional<Shortcut> shortcut() const;
    /// The desktop number of the desktop owners.
    std::optional<int> desktop() const;

    /// The shortcut's title, "Go to desktop N" or "Send the window to desktop N".
    std::string title() const;
    /// The shortcut's command, switchTo(N) or throwTo(N).
    Command command() const;

    bool operator==(const ShortcutOwner&) const = default;

  private:
    ShortcutOwner(Kind kind, Shortcut s, int desktop)
        : kind_(kind), shortcut_(s), desktop_(desktop) {}

    Kind kind_;
    Shortcut shortcut_;
    int desktop_;
};

}  // namespace kelvo

template <>
struct std::hash<kelvo::ShortcutOwner> {
    std::size_t operator()(const kelvo::ShortcutOwner& owner) const noexcept {
        const std::size_t payload = owner.shortcut()
                                        ? static_cast<std::size_t>(*owner.shortcut())
                                        : static_cast<std::size_t>(owner.desktop().value_or(0));
        return payload * 4 + static_cast<std::size_t>(owner.kind());
    }
};
