#include "KelvoApp/Input/AppPresence.h"

#include <algorithm>

namespace kelvo {

void AppPresence::openWindowsChanged(int change) {
    openWindows_ = std::max(openWindows_ + change, 0);
    if (openWindows_ < 1) {
        platform_.setActivationPolicy(ActivationPolicy::accessory);
    } else if (openWindows_ == 1 && change > 0) {
        platform_.setActivationPolicy(ActivationPolicy::regular);
        installMenu();
        platform_.activateIgnoringOtherApps();
    }
}

void AppPresence::windowClosed() {
    const int remaining = openWindows_ - 1;
    openWindows_ = std::max(remaining, 0);
    if (remaining <= 0) platform_.setActivationPolicy(ActivationPolicy::accessory);
}

void AppPresence::installMenu() {
    if (platform_.hasMainMenu()) return;
    platform_.setMainMenu(mainMenu());
}

namespace {

MenuItem item(std::string title, std::string action, std::string key, bool shiftCommand = false) {
    MenuItem made;
    made.title = std::move(title);
    made.action = std::move(action);
    made.key = std::move(key);
    made.shiftCommand = shiftCommand;
    return made;
}

MenuItem separator() {
    MenuItem made;
    made.separator = true;
    return made;
}

}  // namespace

std::vector<MenuItem> AppPresence::mainMenu() {
    // About and Settings offer only the standard About panel while a window of ours is open.
    MenuItem application;
    application.submenu = {
        item("About Kelvo", "orderFrontStandardAboutPanel:", ""),
        separator(),
        item("Settings…", "orderFrontStandardAboutPanel:", ","),
        separator(),
        item("Hide Kelvo", "hide:", "h"),
        item("Quit Kelvo", "terminate:", "q"),
    };
    MenuItem edit;
    edit.title = "Edit";
    edit.submenu = {
        item("Undo", "undo:", "z"),
        item("Redo", "redo:", "z", true),
        separator(),
        item("Cut", "cut:", "x"),
        item("Copy", "copy:", "c"),
        item("Paste", "paste:", "v"),
        item("Select All", "selectAll:", "a"),
    };
    return {application, edit};
}

}  // namespace kelvo
