#include "KelvoCore/Keys/ShortcutOwner.h"

namespace kelvo {

std::optional<Shortcut> ShortcutOwner::shortcut() const {
    if (kind_ != Kind::shortcut) return std::nullopt;
    return shortcut_;
}

std::optional<int> ShortcutOwner::desktop() const {
    if (kind_ == Kind::shortcut) return std::nullopt;
    return desktop_;
}

std::string ShortcutOwner::title() const {
    switch (kind_) {
        case Kind::shortcut:
            return kelvo::title(shortcut_);
        case Kind::desktopSwitch:
            return "Go to desktop " + std::to_string(desktop_);
        case Kind::desktopThrow:
            return "Send the window to desktop " + std::to_string(desktop_);
    }
    return "";
}

Command ShortcutOwner::command() const {
    switch (kind_) {
        case Kind::shortcut:
            return kelvo::command(shortcut_);
        case Kind::desktopSwitch:
            return Command::switchTo(desktop_);
        case Kind::desktopThrow:
            return Command::throwTo(desktop_);
    }
    return Command::switchTo(desktop_);
}

}  // namespace kelvo
