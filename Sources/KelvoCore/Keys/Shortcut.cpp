#include "KelvoCore/Keys/Shortcut.h"

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Keys/CaseTable.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

namespace {

struct ShortcutInfo {
    Shortcut shortcut;
    /// The case name, also the configuration's key.
    const char* rawValue;
    const char* title;
    Command command;
    DefaultKeys keys;
};

using K = KeyCode;
using D = Direction;

/// Every shortcut, in case order.
constexpr ShortcutInfo shortcuts[] = {
    {Shortcut::focusLeft,
     "focusLeft",
     "Focus left",
     Command::focus(D::left),
     {.key = K::h, .arrow = K::leftArrow}},
    {Shortcut::focusDown,
     "focusDown",
     "Focus down",
     Command::focus(D::down),
     {.key = K::j, .arrow = K::downArrow}},
    {Shortcut::focusUp,
     "focusUp",
     "Focus up",
     Command::focus(D::up),
     {.key = K::k, .arrow = K::upArrow}},
    {Shortcut::focusRight,
     "focusRight",
     "Focus right",
     Command::focus(D::right),
     {.key = K::l, .arrow = K::rightArrow}},
    {Shortcut::moveLeft,
     "moveLeft",
     "Move the window left",
     Command::moveWindow(D::left),
     {.key = K::h, .arrow = K::leftArrow, .shift = true}},
    {Shortcut::moveDown,
     "moveDown",
     "Move the window down",
     Command::moveWindow(D::down),
     {.key = K::j, .arrow = K::downArrow, .shift = true}},
    {Shortcut::moveUp,
     "moveUp",
     "Move the window up",
     Command::moveWindow(D::up),
     {.key = K::k, .arrow = K::upArrow, .shift = true}},
    {Shortcut::moveRight,
     "moveRight",
     "Move the window right",
     Command::moveWindow(D::right),
     {.key = K::l, .arrow = K::rightArrow, .shift = true}},
    {Shortcut::resizeLeft,
     "resizeLeft",
     "Move the edge left",
     Command::resize(D::left),
     {.key = K::h, .arrow = K::leftArrow, .secondaryHeld = true}},
    {Shortcut::resizeDown,
     "resizeDown",
     "Move the edge down",
     Command::resize(D::down),
     {.key = K::j, .arrow = K::downArrow, .secondaryHeld = true}},
    {Shortcut::resizeUp,
     "resizeUp",
     "Move the edge up",
     Command::resize(D::up),
     {.key = K::k, .arrow = K::upArrow, .secondaryHeld = true}},
    {Shortcut::resizeRight,
     "resizeRight",
     "Move the edge right",
     Command::resize(D::right),
     {.key = K::l, .arrow = K::rightArrow, .secondaryHeld = true}},
    {Shortcut::zoom, "zoom", "Fill the desktop", Command::toggleZoom(), {.key = K::f}},
    {Shortcut::rebalance, "rebalance", "Lay out as a grid", Command::rebalance(), {.key = K::g}},
    {Shortcut::split, "split", "Flip this split", Command::toggleSplit(), {.key = K::e}},
    {Shortcut::rotate,
     "rotate",
     "Flip every split",
     Command::rotate(),
     {.key = K::e, .shift = true}},
    {Shortcut::float_, "float", "Float the window", Command::toggleFloat(), {.key = K::v}},
    {Shortcut::newTerminal, "newTerminal", "New terminal", Command::newTerminal(), {.key = K::ret}},
    {Shortcut::launcher, "launcher", "Applications", Command::launcher(), {.key = K::space}},
    {Shortcut::promoteToMaster,
     "promoteToMaster",
     "Make this the main window",
     Command::promoteToMaster(),
     {.key = K::m}},
    {Shortcut::layoutMode,
     "layoutMode",
     "Switch this desktop's layout",
     Command::toggleLayoutMode(),
     {.key = K::m, .shift = true}},
    {Shortcut::showDesktop,
     "showDesktop",
     "Show the desktop",
     Command::showDesktop(),
     {.key = K::d}},
    {Shortcut::cheatsheet,
     "cheatsheet",
     "Show every shortcut",
     Command::cheatsheet(),
     {.key = K::slash}},
};
static_assert(std::size(shortcuts) == shortcut::count &&
              inCaseOrder(shortcuts, &ShortcutInfo::shortcut));

const ShortcutInfo& info(Shortcut shortcut) {
    return caseRow(shortcuts, shortcut);
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
    return info(shortcut).command;
}

DefaultKeys defaultKeys(Shortcut shortcut) {
    return info(shortcut).keys;
}

}  // namespace kelvo
