#include "KelvoApp/Services/Overlays/MenuBarController.h"

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Services/Overlays/MenuBarRow.h"
#include "KelvoCore/MenuBar/MenuBarLayout.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/QuartzCore/CATransaction.h"

namespace kelvo {

namespace {

/// The menu's entries before and after the Shortcuts entry: title and action.
struct Entry {
    const char* title;
    const char* action;
};
constexpr Entry entriesBeforeShortcuts[] = {{"Settings…", "settings"}, {"Guide…", "guide"}};
constexpr Entry rebalanceEntry{"Rebalance", "rebalance"};
constexpr Entry quitEntry{"Quit Kelvo", "quit"};

constexpr const char* shortcutsTitle = "Shortcuts";
constexpr const char* chordSeparator = "   ";

void forward(const std::function<void()>& callback) {
    if (callback) callback();
}

}  // namespace

MenuBarController::MenuBarController(DesktopModel& model, int count, bool showName,
                                     Callbacks callbacks)
    : model_(model),
      menu_(std::make_shared<NSMenu>()),
      shortcutsItem_(std::make_shared<NSMenuItem>(shortcutsTitle, "", "")),
      callbacks_(std::move(callbacks)) {
    item_ =
        NSStatusBar::systemStatusBar().statusItemWithLength(MenuBarLayout::width(count, showName));
    model_.count = count;
    model_.showName = showName;
    setUpButton();
    apply();
    buildMenu();
    NSStatusBarButton* button = item_->button();
    button->setTarget(this);
    button->setAction("clicked");
    button->sendActionOn(clickMask);
}

MenuBarController::~MenuBarController() {
    for (const DispatchWorkItem& step : flashSteps_)
        step.cancel();
    menu_->setDelegate(nullptr);
    item_->button()->setTarget(nullptr);
    NSStatusBar::systemStatusBar().removeStatusItem(item_);
}

const std::map<std::string, CAAnimationRef>& MenuBarController::noImplicitAnimations() {
    static const std::map<std::string, CAAnimationRef> actions = [] {
        std::map<std::string, CAAnimationRef> none;
        for (const char* key : {"position", "bounds", "frame", "contents", "sublayers", "transform",
                                "hidden", "opacity", "onOrderIn", "onOrderOut"})
            none[key] = nullptr;
        return none;
    }();
    return actions;
}

void MenuBarController::setUpButton() {
    NSStatusBarButton* button = item_->button();
    button->setImagePosition(NSCellImagePosition::imageOnly);
    button->setImageScaling(NSImageScaling::none);
    button->setWantsLayer(true);
    button->layer()->setActions(noImplicitAnimations());
}

void MenuBarController::buildMenu() {
    menu_->setDelegate(this);
    auto add = [this](const Entry& entry) {
        menu_->addItemWithTitle(entry.title, entry.action, "")->setTarget(this);
    };
    for (const Entry& entry : entriesBeforeShortcuts)
        add(entry);
    menu_->addItem(shortcutsItem_);
    add(rebalanceEntry);
    menu_->addItem(NSMenuItem::separatorItem());
    add(quitEntry);
}

// ---- The setters ------------------------------------------------------------------------------

void MenuBarController::setDesktops(int active, const std::set<int>& occupied) {
    if (model_.active.get() == active && model_.occupied.get() == occupied) return;
    model_.active = active;
    model_.occupied = occupied;
    apply();
}

void MenuBarController::setLayoutMode(LayoutMode mode) {
    if (model_.layoutMode.get() == mode) return;
    model_.layoutMode = mode;
    apply();
}

void MenuBarController::setFocusedApp(const std::optional<std::string>& name) {
    const std::optional<std::string> shown =
        name && !name->empty() ? name : std::optional<std::string>{};
    if (model_.focusedApp.get() == shown) return;
    model_.focusedApp = shown;
    apply();
}

void MenuBarController::setDesktopCount(int count) {
    if (model_.count.get() == count) return;
    model_.count = count;
    apply();
}

void MenuBarController::setShowsName(bool shows) {
    if (model_.showName.get() == shows) return;
    model_.showName = shows;
    apply();
}

// ---- Flash and redraw -------------------------------------------------------------------------

void MenuBarController::flash(int desktop) {
    for (const DispatchWorkItem& step : flashSteps_)
        step.cancel();
    flashSteps_.clear();
    model_.flashing = desktop;
    apply();
    for (const FlashStep& step : flashTimetable) {
        const std::optional<int> flashing =
            step.lit ? std::optional<int>(desktop) : std::optional<int>{};
        DispatchWorkItem work([alive = std::weak_ptr<bool>(alive_), this, flashing] {
            if (!alive.lock()) return;
            model_.flashing = flashing;
            apply();
        });
        flashSteps_.push_back(work);
        DispatchQueue::main().asyncAfter(DispatchTime::now() + step.delay, work);
    }
}

void MenuBarController::apply() {
    const MenuBarRow::Snapshot snapshot = MenuBarRow::Snapshot::of(model_);
    const NSImageRef image = MenuBarRow::image(snapshot);
    NSStatusBarButton* button = item_->button();
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    button->setImage(image);
    if (item_->length() != image->size().width) item_->setLength(image->size().width);
    CATransaction::commit();
    button->layer()->removeAllAnimations();
    if (NSView* superview = button->superview(); superview && superview->layer())
        superview->layer()->removeAllAnimations();
    button->setToolTip(toolTip(snapshot.layoutMode));
    button->setAccessibilityLabel(accessibilityLabel(snapshot.active, snapshot.count));
}

std::string MenuBarController::toolTip(LayoutMode mode) {
    switch (mode) {
        case LayoutMode::masterStack:
            return "This desktop keeps one main window with the rest stacked beside it";
        case LayoutMode::bsp:
            return "This desktop splits whichever window you are in";
    }
    return "";
}

std::string MenuBarController::accessibilityLabel(int active, int count) {
    return "Kelvo - desktop " + std::to_string(active) + " of " +
           std::to_string(std::max(count, 1));
}

// ---- Clicks and the menu ----------------------------------------------------------------------

bool MenuBarController::performAction(const std::string& selector, const void*) {
    if (selector == "clicked") {
        clicked();
    } else if (selector == "settings") {
        forward(callbacks_.onSettings);
    } else if (selector == "guide") {
        forward(callbacks_.onGuide);
    } else if (selector == "cheatsheet") {
        forward(callbacks_.onCheatsheet);
    } else if (selector == "rebalance") {
        forward(callbacks_.onRebalance);
    } else if (selector == "quit") {
        forward(callbacks_.onQuit);
    } else {
        return false;
    }
    return true;
}

void MenuBarController::clicked() {
    const NSEventRef& event = NSApplication::sharedApplication().currentEvent();
    if (!event) return;
    const bool right =
        event->type() == NSEventType::rightMouseDown || event->type() == NSEventType::rightMouseUp;
    const bool control = (event->modifierFlags() & NSEventModifierFlagControl) != 0;
    if (!right && !control) return;
    item_->setMenu(menu_);
    item_->button()->performClick(nullptr);
}

void MenuBarController::menuNeedsUpdate(NSMenu& menu) {
    if (&menu != menu_.get()) return;
    shortcutsItem_->setTarget(this);
    shortcutsItem_->setAction("cheatsheet");
    showShortcutsChord();
}

void MenuBarController::showShortcutsChord() {
    const std::string chord = callbacks_.shortcutsChord ? callbacks_.shortcutsChord() : "";
    if (chord.empty()) {
        shortcutsItem_->setAttributedTitle(std::nullopt);
        shortcutsItem_->setTitle(shortcutsTitle);
        return;
    }
    NSTextAttributes attributes;
    attributes.font = NSFont::menuFontOfSize(0);
    attributes.foregroundColor = NSColor::labelColor();
    NSAttributedString title(shortcutsTitle, attributes);
    attributes.foregroundColor = NSColor::secondaryLabelColor();
    title.append(NSAttributedString(std::string(chordSeparator) + chord, attributes));
    shortcutsItem_->setAttributedTitle(title);
}

void MenuBarController::menuDidClose(NSMenu& menu) {
    if (&menu != menu_.get()) return;
    item_->setMenu(nullptr);
}

std::optional<CGRect> MenuBarController::buttonWindowFrame() const {
    const NSWindow* window = item_->window();
    if (!window) return std::nullopt;
    return window->frame();
}

}  // namespace kelvo
