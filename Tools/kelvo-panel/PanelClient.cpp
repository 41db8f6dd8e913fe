#include "PanelClient.h"

#include <cmath>

#include <optional>
#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/AppKit/NSTextField.h"

namespace kelvo_panel {

namespace {

/// The editing action a Command key stands for in a field editor, as the settings search
/// field takes them in an application without an Edit menu; none for another key.
std::optional<std::string> editingAction(const std::string& key, bool shift, NSTextView& editor) {
    if (key == "z") {
        NSUndoManager* undo = editor.undoManager();
        if (shift ? undo->canRedo() : undo->canUndo())
            return std::string(shift ? Selector::redo.name : Selector::undo.name);
        return std::string();  // taken, with nothing to do
    }
    if (shift) return std::nullopt;
    if (key == "a") return std::string(Selector::selectAll.name);
    if (key == "x") return std::string(Selector::cut.name);
    if (key == "c") return std::string(Selector::copy.name);
    if (key == "v") return std::string(Selector::paste.name);
    return std::nullopt;
}

}  // namespace

/// A panel that takes keys without bringing its process forward; what reaches it is reported.
class KeyPanel : public NSPanel {
  public:
    KeyPanel(CGRect frame, PanelClient::Report report)
        : NSPanel(frame, NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false),
          report_(std::move(report)) {}

    bool canBecomeKeyWindow() const override { return true; }

    /// Command keys: reported, and in the field editor the editing actions.
    bool performKeyEquivalent(NSEvent& event) override {
        const auto flags = event.modifierFlags() & NSEventModifierFlagDeviceIndependentFlagsMask &
                           ~NSEventModifierFlagShift;
        if (flags != NSEventModifierFlagCommand) return NSPanel::performKeyEquivalent(event);
        const std::string key = kelvo::UnicodeText::lowercased(event.charactersIgnoringModifiers());
        report_({{"event", "keyEquivalent"}, {"key", key}});
        if (auto* editor = dynamic_cast<NSTextView*>(firstResponder())) {
            const bool shift = (event.modifierFlags() & NSEventModifierFlagShift) != 0;
            if (const auto action = editingAction(key, shift, *editor)) {
                if (!action->empty()) editor->performAction(*action, this);
            }
        }
        return true;
    }

    void keyDown(NSEvent& event) override {
        report_({{"event", "keyDown"}, {"keyCode", event.keyCode()}});
        NSPanel::keyDown(event);
    }

    void cancelOperation(const void*) override { report_({{"event", "cancelOperation"}}); }

  private:
    PanelClient::Report report_;
};

PanelClient::PanelClient(Report report) : report_(std::move(report)) {
    const CGRect frame(200, 300, panelWidth, panelHeight);
    panel_ = std::make_unique<KeyPanel>(frame, report_);
    panel_->setTitle("Panel");
    panel_->setLevel(NSFloatingWindowLevel);
    panel_->setBackgroundColor(NSColor::colorWithSRGBRed(0.12, 0.13, 0.16, 1));
    field_ = std::make_shared<NSTextField>(CGRect(20, panelHeight - 80, panelWidth - 40, 60));
    field_->setPlaceholderString("Query");
    field_->setAccessibilityIdentifier("query");
    field_->setFont(NSFont::systemFontOfSize(20));
    field_->setTextColor(NSColor::whiteColor());
    field_->setDrawsBackground(true);
    field_->setBackgroundColor(NSColor::colorWithWhite(1, 0.12));
    field_->setBordered(false);
    field_->setUsesSingleLineMode(true);
    field_->setLineBreakMode(NSLineBreakMode::byTruncatingTail);
    panel_->contentView()->addSubview(field_);

    const NSWindowStyleMask titled = NSWindowStyleMaskTitled | NSWindowStyleMaskClosable |
                                     NSWindowStyleMaskMiniaturizable | NSWindowStyleMaskResizable |
                                     NSWindowStyleMaskFullSizeContentView;
    window_ =
        std::make_unique<NSWindow>(CGRect(0, 0, 420, 260), titled, NSBackingStoreBuffered, false);
    window_->setTitle("Panel Client Settings");
    window_->setTitleVisibility(NSWindowTitleVisibility::hidden);
    window_->setTitlebarAppearsTransparent(true);
    window_->setMovableByWindowBackground(true);
    window_->setBackgroundColor(NSColor::colorWithSRGBRed(0.2, 0.22, 0.26, 1));
    window_->setReleasedWhenClosed(false);
    window_->setMinSize(CGSize{320, 200});
    window_->center();
    window_->setDelegate(this);

    item_ = NSStatusBar::systemStatusBar().statusItemWithLength(NSVariableStatusItemLength);
    NSStatusBarButton* button = item_->button();
    auto image = std::make_shared<NSImage>(CGSize{16, 16}, false, [](const CGRect& bounds) {
        CGContext& context = NSGraphicsContext::currentContext()->cgContext();
        context.setFillColor(CGColorCreateGenericGray(0, 1));
        context.fillEllipse(bounds.insetBy(2, 2));
        return true;
    });
    image->setTemplate(true);
    button->setImage(image);
    button->setImagePosition(NSCellImagePosition::imageOnly);
    button->setImageScaling(NSImageScaling::none);
    button->setAccessibilityLabel("Panel client");
    button->setToolTip("Right-click for the menu");
    button->setTarget(this);
    button->setAction("clicked");
    button->sendActionOn(NSEventMaskLeftMouseUp | NSEventMaskRightMouseUp);
    buildMenu();

    monitor_ = NSEvent::addLocalMonitorForEventsMatchingMask(
        NSEventMaskKeyDown, [this](const NSEventRef& event) {
            report_({{"event", "monitor"}, {"keyCode", event->keyCode()}});
            return event;
        });
}

PanelClient::~PanelClient() {
    NSEvent::removeMonitor(monitor_);
    if (window_) window_->setDelegate(nullptr);
    if (menu_) menu_->setDelegate(nullptr);
    if (item_) item_->button()->setTarget(nullptr);
}

void PanelClient::buildMenu() {
    menu_ = std::make_shared<NSMenu>();
    menu_->setDelegate(this);
    const auto add = [&](const std::string& title, const std::string& action) {
        const NSMenuItemRef item = menu_->addItemWithTitle(title, action, "");
        item->setTarget(this);
        return item;
    };
    add("Show Window", "showWindow");
    add("Count", "count");
    menu_->addItem(NSMenuItem::separatorItem());
    add("Unavailable", "count")->setEnabled(false);
    add("Quit Panel Client", "quit");
}

void PanelClient::start() {
    window_->orderFront(nullptr);
    panel_->orderFrontRegardless();
    panel_->makeKeyWindow();
    panel_->makeFirstResponder(field_.get());
    report_({{"event", "ready"},
             {"panel", panel_->windowNumber()},
             {"window", window_->windowNumber()}});
}

bool PanelClient::performAction(const std::string& selector, const void*) {
    if (selector == "clicked") {
        clicked();
    } else if (selector == "showWindow") {
        window_->orderFront(nullptr);
        report_({{"event", "action"}, {"name", selector}});
    } else if (selector == "count") {
        ++counted_;
        report_({{"event", "action"}, {"name", selector}, {"count", counted_}});
    } else if (selector == "quit") {
        report_({{"event", "action"}, {"name", selector}});
        NSApplication::sharedApplication().terminate(nullptr);
    } else {
        return false;
    }
    return true;
}

void PanelClient::clicked() {
    const NSEventRef& event = NSApplication::sharedApplication().currentEvent();
    if (!event) return;
    const bool right =
        event->type() == NSEventType::rightMouseDown || event->type() == NSEventType::rightMouseUp;
    if (!right && (event->modifierFlags() & NSEventModifierFlagControl) == 0) {
        report_({{"event", "leftClick"}});
        return;
    }
    item_->setMenu(menu_);
    item_->button()->performClick(nullptr);
}

void PanelClient::menuNeedsUpdate(NSMenu& menu) {
    menu.itemArray()[1]->setState(counted_ > 0 ? NSControlStateValueOn : NSControlStateValueOff);
    report_({{"event", "menuOpens"}});
}

void PanelClient::menuDidClose(NSMenu&) {
    item_->setMenu(nullptr);
    report_({{"event", "menuClosed"}});
}

void PanelClient::windowWillClose(NSWindow& window) {
    report_({{"event", "windowWillClose"}, {"title", window.title()}});
}

void PanelClient::windowDidResignKey(NSWindow& window) {
    report_({{"event", "windowDidResignKey"}, {"title", window.title()}});
}

}  // namespace kelvo_panel
