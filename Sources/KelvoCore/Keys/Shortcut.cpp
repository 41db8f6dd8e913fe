#include "KelvoCore/Keys/Shortcut.h"

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

namespace {

struct ShortcutInfo {
    const char* rawValue;
    const char* title;
};

constexpr ShortcutInfo infos[] = {
    {"focusLeft", "Focus left"},
    {"focusDown", "Focus down"},
    {"focusUp", "Focus up"},
    {"focusRight", "Focus right"},
    {"moveLeft", "Move the window left"},
    {"moveDown", "Move the window down"},
    {"moveUp", "Move the window up"},
    {"moveRight", "Move the window right"},
    {"resizeLeft", "Move the edge left"},
    {"resizeDown", "Move the edge down"},
    {"resizeUp", "Move the edge up"},
    {"resizeRight", "Move the edge right"},
    {"zoom", "Fill the desktop"},
    {"rebalance", "Lay out as a grid"},
    {"split", "Flip this split"},
    {"rotate", "Flip every split"},
    {"float", "Float the window"},
    {"newTerminal", "New terminal"},
    {"launcher", "Applications"},
    {"promoteToMaster", "Make this the main window"},
    {"layoutMode", "Switch this desktop's layout"},
    {"showDesktop", "Show the desktop"},
    {"cheatsheet", "Show every shortcut"},
};
static_assert(std::size(infos) == shortcut::allCases.size());

const ShortcutInfo& info(Shortcut shortcut) {
    return infos[static_cast<std::size_t>(shortcut)];
}

}  // namespace

std::string rawValue(Shortcut shortcut) {
    return info(shortcut).rawValue;
}

std::optional<Shortcut> shortcutFromRawValue(const std::string& raw) {
    return caseWithRawValue<Shortcut>(shortcut::allCases, raw,
                                      [](Shortcut s) { return std::string(info(s).rawValue); });
}

std::string title(Shortcut shortcut) {
    return info(shortcut).title;
}

Command command(Shortcut shortcut) {
    switch (shortcut) {
        case Shortcut::focusLeft:
            return Command::focus(Direction::left);
        case Shortcut::focusDown:
            return Command::focus(Direction::down);
        case Shortcut::focusUp:
            return Command::focus(Direction::up);
        case Shortcut::focusRight:
            return Command::focus(Direction::right);
        case Shortcut::moveLeft:
            return Command::moveWindow(Direction::left);
        case Shortcut::moveDown:
            return Command::moveWindow(Direction::down);
        case Shortcut::moveUp:
            return Command::moveWindow(Direction::up);
        case Shortcut::moveRight:
            return Command::moveWindow(Direction::right);
        case Shortcut::resizeLeft:
            return Command::resize(Direction::left);
        case Shortcut::resizeDown:
            return Command::resize(Direction::down);
        case Shortcut::resizeUp:
            return Command::resize(Direction::up);
        case Shortcut::resizeRight:
            return Command::resize(Direction::right);
        case Shortcut::zoom:
            return Command::toggleZoom();
        case Shortcut::rebalance:
            return Command::rebalance();
        case Shortcut::split:
            return Command::toggleSplit();
        case Shortcut::rotate:
            return Command::rotate();
        case Shortcut::float_:
            return Command::toggleFloat();
        case Shortcut::newTerminal:
            return Command::newTerminal();
        case Shortcut::launcher:
            return Command::launcher();
        case Shortcut::promoteToMaster:
            return Command::promoteToMaster();
        case Shortcut::layoutMode:
            return Command::toggleLayoutMode();
        case Shortcut::showDesktop:
            return Command::showDesktop();
        case Shortcut::cheatsheet:
            return Command::cheatsheet();
    }
    return Command::cheatsheet();
}

}  // namespace kelvo
