#include "Platform/SwiftUI/NSHostingView.h"

#include <algorithm>

#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/NSColorPanel.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSTextView.h"
#include "Platform/AppKit/NSWindow.h"

namespace SwiftUI {

namespace {

/// Roles whose element stands for everything inside it: the texts and shapes a button or a
/// switch is drawn with are not elements of their own.
bool isWholeControl(const std::string& role) {
    return role == "button" || role == "switch" || role == "slider" || role == "stepper" ||
           role == "popUpButton" || role == "colorWell" || role == "textField";
}

/// The shortcut a key press stands for: its key (Return as "\r") and its modifiers.
KeyboardShortcut shortcutOf(const NSEvent& event) {
    const NSEventModifierFlags flags = event.modifierFlags();
    KeyboardShortcut shortcut;
    shortcut.key = event.keyCode() == NSHostingView::returnKeyCode
                       ? std::string("\r")
                       : kelvo::UnicodeText::lowercased(event.charactersIgnoringModifiers());
    shortcut.command = (flags & NSEventModifierFlagCommand) != 0;
    shortcut.shift = (flags & NSEventModifierFlagShift) != 0;
    shortcut.option = (flags & NSEventModifierFlagOption) != 0;
    shortcut.control = (flags & NSEventModifierFlagControl) != 0;
    return shortcut;
}

bool isTypedText(const std::string& text) {
    return !text.empty() && std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

}  // namespace

NSHostingView::NSHostingView(std::function<View()> rootView, CGRect frame)
    : NSView(frame), graph_(std::make_unique<ViewGraph>(std::move(rootView))) {
    std::weak_ptr<bool> alive = alive_;
    LayoutServices& services = graph_->services();
    graph_->onUpdate = [this, alive] {
        if (alive.lock()) treeChanged();
    };
    // A view resized since its last layout is laid out once, at its new size.
    graph_->updateSize = [this] { return bounds().size; };
    services.presentMenu = [this, alive](const std::vector<MenuEntry>& entries, CGRect anchor,
                                         std::function<void(std::size_t)> chosen) {
        if (alive.lock()) presentMenu(entries, anchor, std::move(chosen));
    };
    services.presentColorPanel = [this, alive](const Color& current,
                                               std::function<void(const Color&)> picked) {
        if (alive.lock()) presentColorPanel(current, std::move(picked));
    };
    services.adoptHostedView = [this, alive](const NSViewRef& view) {
        if (!alive.lock() || !view) return;
        hosted_.push_back(view);
        addSubview(view);
    };
}

NSHostingView::~NSHostingView() {
    *alive_ = false;
    if (menu_ && menu_->isOpen()) menu_->cancelTracking();
}

const LayoutNode& NSHostingView::layoutTree() {
    layOutIfNeeded();
    return graph_->tree();
}

CGSize NSHostingView::fittingSize() {
    return graph_->fittingSize();
}

void NSHostingView::layOutIfNeeded() {
    if (!needsLayout_ && graph_->size() == bounds().size) return;
    needsLayout_ = false;
    graph_->layout(bounds().size);
    showHostedViews();
}

void NSHostingView::treeChanged() {
    // The graph laid itself out at this view's size, unless the update resized it.
    if (graph_->size() != bounds().size) graph_->layout(bounds().size);
    needsLayout_ = false;
    showHostedViews();
    claimKeysIfFocused();
    setNeedsDisplay();
}

void NSHostingView::showHostedViews() {
    std::vector<const LayoutNode*> shown =
        graph_->tree().findAll([](const LayoutNode& node) { return node.hostedView != nullptr; });
    for (const NSViewRef& view : std::vector<NSViewRef>(hosted_)) {
        const auto place = std::find_if(shown.begin(), shown.end(), [&](const LayoutNode* node) {
            return node->hostedView == view;
        });
        if (place == shown.end()) {
            // The tree no longer holds it: it leaves the window until the tree shows it again.
            if (view->superview() == this) view->removeFromSuperview();
            continue;
        }
        if (view->superview() != this) addSubview(view);
        if (view->frame() != (*place)->frame) view->setFrame((*place)->frame);
    }
}

void NSHostingView::claimKeysIfFocused() {
    NSWindow* own = window();
    if (!own || !graph_->services().focusedField) return;
    if (own->firstResponder() != this) own->makeFirstResponder(this);
}

bool NSHostingView::acceptsFirstResponder() const {
    return graph_->services().focusedField.has_value();
}

bool NSHostingView::resignFirstResponder() {
    // Another view takes the keys: the field that had them lets go.
    if (graph_->services().focusedField) {
        graph_->services().focusedField.reset();
        graph_->setNeedsUpdate();
    }
    return true;
}

void NSHostingView::viewWillDraw() {
    graph_->updateIfNeeded();
    NSView::viewWillDraw();
}

void NSHostingView::drawRect(const CGRect&) {
    layOutIfNeeded();
    NSGraphicsContext* graphics = NSGraphicsContext::currentContext();
    if (!graphics) return;
    CGContext& context = graphics->cgContext();
    // The graph draws into a base space that runs upwards; the context here runs down.
    context.saveGState();
    context.translateBy(0, bounds().height());
    context.scaleBy(1, -1);
    graph_->draw(context);
    context.restoreGState();
}

void NSHostingView::mouseDown(NSEvent& event) {
    layOutIfNeeded();
    const CGPoint point = convertPointFromWindow(event.locationInWindow());
    if (!graph_->click(point)) {
        NSView::mouseDown(event);
        return;
    }
    claimKeysIfFocused();
}

void NSHostingView::mouseDragged(NSEvent& event) {
    if (!graph_->drag(convertPointFromWindow(event.locationInWindow())))
        NSView::mouseDragged(event);
}

void NSHostingView::mouseUp(NSEvent& event) {
    if (!graph_->release(convertPointFromWindow(event.locationInWindow()))) NSView::mouseUp(event);
}

void NSHostingView::mouseMoved(NSEvent& event) {
    layOutIfNeeded();
    const CGPoint point = convertPointFromWindow(event.locationInWindow());
    const CGRect own = bounds();
    const bool inside = point.x >= own.minX() && point.x < own.maxX() && point.y >= own.minY() &&
                        point.y < own.maxY();
    graph_->hover(inside ? std::optional(point) : std::nullopt);
}

void NSHostingView::scrollWheel(NSEvent& event) {
    layOutIfNeeded();
    if (!graph_->scroll(convertPointFromWindow(event.locationInWindow()), event.scrollingDeltaY()))
        NSView::scrollWheel(event);
}

void NSHostingView::mouseExited(NSEvent& event) {
    // A view of its own under the pointer (a field) is still inside it.
    mouseMoved(event);
}

void NSHostingView::keyDown(NSEvent& event) {
    const bool focused = graph_->services().focusedField.has_value();
    if (focused && event.keyCode() == deleteKeyCode) {
        graph_->type("\b");
        return;
    }
    if (event.keyCode() == returnKeyCode && graph_->press(KeyboardShortcut::defaultAction()))
        return;
    const std::string typed = event.characters();
    const bool modified =
        (event.modifierFlags() & (NSEventModifierFlagCommand | NSEventModifierFlagControl)) != 0;
    if (focused && !modified && isTypedText(typed) && graph_->type(typed)) return;
    NSView::keyDown(event);
}

bool NSHostingView::performKeyEquivalent(NSEvent& event) {
    if (isHidden()) return false;
    const KeyboardShortcut shortcut = shortcutOf(event);
    const bool plain = !shortcut.command && !shortcut.option && !shortcut.control;
    // A field being edited keeps its own Return.
    if (plain && window() && dynamic_cast<NSTextView*>(window()->firstResponder())) return false;
    if (plain && shortcut.key != "\r") return false;
    layOutIfNeeded();
    if (graph_->press(shortcut)) return true;
    return NSView::performKeyEquivalent(event);
}

void NSHostingView::collectAccessibilityElements(double windowHeight,
                                                 std::vector<sim::InterfaceElement>& out) const {
    if (isHidden()) return;
    const_cast<NSHostingView*>(this)->layOutIfNeeded();
    collectNode(graph_->tree(), windowHeight, out);
    // Views added beside the tree (not by it) come after it.
    for (const NSViewRef& subview : subviews())
        if (std::find(hosted_.begin(), hosted_.end(), subview) == hosted_.end())
            subview->collectAccessibilityElements(windowHeight, out);
}

void NSHostingView::collectNode(const LayoutNode& node, double windowHeight,
                                std::vector<sim::InterfaceElement>& out) const {
    if (node.accessibilityHidden) return;
    if (node.hostedView) {
        if (node.hostedView->superview() == this)
            node.hostedView->collectAccessibilityElements(windowHeight, out);
        return;
    }
    if (node.element) {
        sim::InterfaceElement element;
        element.role = node.element->role;
        element.label = node.element->label;
        element.value = node.element->value;
        if (!node.identifier.empty()) element.identifier = node.identifier;
        element.frame = node.frame;
        element.enabled = node.enabled;
        element.focused = node.focused;
        if (!node.tooltip.empty()) element.toolTip = node.tooltip;
        out.push_back(elementInWindow(std::move(element), windowHeight));
        if (isWholeControl(node.element->role)) return;
    }
    for (const LayoutNode& child : node.children)
        collectNode(child, windowHeight, out);
}

void NSHostingView::presentMenu(const std::vector<MenuEntry>& entries, CGRect anchor,
                                std::function<void(std::size_t)> chosen) {
    if (menu_ && menu_->isOpen()) menu_->cancelTracking();
    menu_ = std::make_shared<NSMenu>();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& entry = entries[i];
        NSMenuItemRef item = entry.separator
                                 ? NSMenuItem::separatorItem()
                                 : std::make_shared<NSMenuItem>(entry.title, menuPickAction, "");
        item->setTag(static_cast<long>(i));
        item->setTarget(this);
        item->setEnabled(entry.enabled && !entry.separator);
        item->setState(entry.checked ? NSControlStateValueOn : NSControlStateValueOff);
        menu_->addItem(std::move(item));
    }
    menuChosen_ = std::move(chosen);
    // The menu hangs from the control's lower left corner.
    menu_->popUpMenuPositioningItem(nullptr, CGPoint{anchor.minX(), anchor.maxY()}, this);
}

bool NSHostingView::performAction(const std::string& selector, const void* sender) {
    if (selector != menuPickAction) return NSView::performAction(selector, sender);
    const auto* item = static_cast<const NSMenuItem*>(sender);
    if (!item || !menuChosen_) return true;
    const auto chosen = std::move(menuChosen_);
    menuChosen_ = nullptr;
    chosen(static_cast<std::size_t>(item->tag()));
    return true;
}

void NSHostingView::presentColorPanel(const Color& current,
                                      std::function<void(const Color&)> picked) {
    NSColorPanel& panel = NSColorPanel::sharedColorPanel();
    panel.setColor(current.nsColor());
    std::weak_ptr<bool> alive = alive_;
    panel.setAction([alive, picked = std::move(picked)](NSColorPanel& from) {
        if (alive.lock() && picked && from.color()) picked(Color(from.color()));
    });
    panel.orderFront(this);
}

}  // namespace SwiftUI
