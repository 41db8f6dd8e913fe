#include <string>

#include "KelvoApp/Services/Overlays/MenuBarController.h"
#include "KelvoApp/Services/Overlays/MenuBarRow.h"
#include "PanelDesk.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/NSMenuWindow.h"

namespace kelvo_pictures {

namespace {

using kelvo::MenuBarRow;

struct State {
    std::string title;
    MenuBarRow::Snapshot snapshot;
};

MenuBarRow::Snapshot snapshot(int active, std::set<int> occupied, int count = 9) {
    MenuBarRow::Snapshot made;
    made.active = active;
    made.occupied = std::move(occupied);
    made.count = count;
    return made;
}

std::vector<State> states() {
    std::vector<State> shown;
    shown.push_back(
        {"9 desktops, desktop 1 active, 1 3 4 occupied, main and stack", snapshot(1, {1, 3, 4})});
    auto named = snapshot(2, {1, 2, 6});
    named.showName = true;
    named.focusedApp = "Safari";
    named.layoutMode = kelvo::LayoutMode::bsp;
    shown.push_back({"the name shown, desktop 2 split", named});
    auto longName = named;
    longName.focusedApp = "A Remarkably Long Application Name";
    shown.push_back({"a long name, cut at the band's edge", longName});
    auto flash = snapshot(2, {2});
    flash.flashing = 7;
    shown.push_back({"a flash frame: desktop 7 lit while 2 is active", flash});
    shown.push_back({"one desktop", snapshot(1, {}, 1)});
    return shown;
}

/// The status item in several states, as the menu bar tints its template image on a light
/// bar and on a dark one.
CGImageRef statusItemSheet() {
    const auto shown = states();
    constexpr double margin = 20, rowHeight = 34, top = 44, barWidth = 300, labelX = 650;
    PictureCanvas canvas(CGSize{labelX + 330, top + shown.size() * rowHeight + margin},
                         NSColor::colorWithSRGBRed(0.16, 0.17, 0.2, 1));
    canvas.label("The status item: on a light menu bar and on a dark one", {margin, 14}, 13,
                 NSColor::colorWithWhite(1, 0.94), NSFontWeightSemibold);
    double y = top;
    for (const State& state : shown) {
        const NSImageRef image = MenuBarRow::image(state.snapshot);
        const CGSize size = image->size();
        const auto bar = [&](double x, const NSColorRef& fill, const NSColorRef& tint) {
            fill->setFill();
            NSBezierPath::bezierPathWithRect(CGRect(x, y, barWidth, 24)).fill();
            image->imageTintedWithColor(tint)->drawInRect(
                CGRect(x + barWidth - size.width - 8, y + 3, size.width, size.height));
        };
        bar(margin, NSColor::colorWithWhite(0.93, 1), NSColor::colorWithWhite(0, 0.85));
        bar(margin + barWidth + 10, NSColor::colorWithWhite(0.12, 1), NSColor::whiteColor());
        canvas.label(state.title, {labelX, y + 5}, 11, NSColor::colorWithWhite(1, 0.82));
        y += rowHeight;
    }
    return canvas.finish();
}

/// The status item's menu as a right click on the item opens it, with the cheat sheet's chord
/// beside its entry.
CGImageRef statusItemMenu() {
    PanelDesk desk;
    kelvo::DesktopModel model;
    kelvo::MenuBarController::Callbacks callbacks;
    callbacks.shortcutsChord = [] { return "⌥/"; };
    kelvo::MenuBarController controller(model, 9, false, std::move(callbacks));
    desk.wait(0.1);
    const auto items = desk.desktop().statusItems();
    if (items.empty()) return nullptr;
    const CGPoint centre{items.front().frame.midX(), items.front().frame.midY()};
    desk.desktop().rightMouseDown(centre);
    desk.desktop().rightMouseUp(centre);
    desk.wait(0.1);
    for (NSWindow* window : NSWindow::allWindows())
        if (dynamic_cast<NSMenuWindow*>(window) && window->isVisible())
            return PanelDesk::picture(*window, 16);
    return nullptr;
}

}  // namespace

std::vector<Picture> menuBarPictures() {
    return {{"status-item", statusItemSheet}, {"status-item-menu", statusItemMenu}};
}

}  // namespace kelvo_pictures
