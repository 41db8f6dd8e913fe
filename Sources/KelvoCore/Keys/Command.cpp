#include "KelvoCore/Keys/Command.h"

namespace kelvo {

std::optional<Command> Command::plain(Kind kind) {
    if (carriesDesktop(kind) || carriesDirection(kind)) return std::nullopt;
    return Command(kind);
}

std::optional<int> Command::desktop() const {
    if (!carriesDesktop(kind_)) return std::nullopt;
    return desktop_;
}

std::optional<Direction> Command::direction() const {
    if (!carriesDirection(kind_)) return std::nullopt;
    return direction_;
}

std::string Command::name(Kind kind) {
    switch (kind) {
        case Kind::switchTo:
            return "switchTo";
        case Kind::throwTo:
            return "throwTo";
        case Kind::focus:
            return "focus";
        case Kind::moveWindow:
            return "moveWindow";
        case Kind::resize:
            return "resize";
        case Kind::toggleZoom:
            return "toggleZoom";
        case Kind::toggleFloat:
            return "toggleFloat";
        case Kind::closeWindow:
            return "closeWindow";
        case Kind::newTerminal:
            return "newTerminal";
        case Kind::rebalance:
            return "rebalance";
        case Kind::toggleSplit:
            return "toggleSplit";
        case Kind::rotate:
            return "rotate";
        case Kind::launcher:
            return "launcher";
        case Kind::promoteToMaster:
            return "promoteToMaster";
        case Kind::toggleLayoutMode:
            return "toggleLayoutMode";
        case Kind::showDesktop:
            return "showDesktop";
        case Kind::cheatsheet:
            return "cheatsheet";
    }
    return "";
}

std::string Command::description() const {
    if (auto d = desktop()) return name() + "(" + std::to_string(*d) + ")";
    if (auto d = direction()) return name() + "(" + toString(*d) + ")";
    return name();
}

}  // namespace kelvo
