#include "KelvoApp/Services/MenuBarController.h"

#include <algorithm>

namespace kelvo {

namespace {

std::string listed(const std::set<int>& desktops) {
    std::string text;
    for (int d : desktops)
        text += (text.empty() ? "" : " ") + std::to_string(d);
    return "[" + text + "]";
}

}  // namespace

MenuBarController::MenuBarController(DesktopModel& model, int desktopCount, bool showsName,
                                     Callbacks callbacks)
    : model_(model), callbacks_(std::move(callbacks)) {
    model_.count = desktopCount;
    model_.showName = showsName;
    log.note("init(" + std::to_string(desktopCount) + ", " + (showsName ? "true" : "false") + ")");
}

void MenuBarController::setDesktops(int active, const std::set<int>& occupied) {
    log.note("setDesktops(" + std::to_string(active) + ", " + listed(occupied) + ")");
    model_.active = active;
    model_.occupied = occupied;
}

void MenuBarController::setLayoutMode(LayoutMode mode) {
    log.note("setLayoutMode(" + rawValue(mode) + ")");
    model_.layoutMode = mode;
}

void MenuBarController::setFocusedApp(const std::optional<std::string>& name) {
    log.note("setFocusedApp(" + name.value_or("nil") + ")");
    model_.focusedApp = name;
}

void MenuBarController::setDesktopCount(int count) {
    log.note("setDesktopCount(" + std::to_string(count) + ")");
    model_.count = count;
}

void MenuBarController::setShowsName(bool shows) {
    log.note(std::string("setShowsName(") + (shows ? "true" : "false") + ")");
    model_.showName = shows;
}

void MenuBarController::flash(int desktop) {
    log.note("flash(" + std::to_string(desktop) + ")");
    model_.flashing = desktop;
}

double MenuBarController::length() const {
    const int n = std::max(model_.count, 1);
    return (model_.showName ? nameWidth : bareWidth) + n * tileWidth + (n - 1) * tileSpacing +
           trailingInset;
}

}  // namespace kelvo
