#include "Platform/AppKit/NSMenu.h"

std::shared_ptr<NSMenuItem> NSMenuItem::separatorItem() {
    auto item = std::make_shared<NSMenuItem>("", "", "");
    item->separator_ = true;
    return item;
}

NSMenuItemRef NSMenu::addItemWithTitle(std::string title, std::string action,
                                       std::string keyEquivalent) {
    auto item =
        std::make_shared<NSMenuItem>(std::move(title), std::move(action), std::move(keyEquivalent));
    items_.push_back(item);
    return item;
}
