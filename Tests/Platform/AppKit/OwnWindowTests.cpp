#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSButton.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/AppKit/NSStatusBar.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"

namespace sim {
namespace {

/// Passes every call on to the desktop's connection and notes, after each, how wide the
/// desktop lists its status items: what another client reading the menu bar between two calls
/// would find.
class StatusItemWidthsSeen final : public DesktopConnection {
  public:
    StatusItemWidthsSeen(std::shared_ptr<DesktopConnection> inner, std::shared_ptr<Desktop> desktop)
        : inner_(std::move(inner)), desktop_(std::move(desktop)) {}
    void setEventSink(EventSink sink) override { inner_->setEventSink(std::move(sink)); }
    Pid clientPid() const override { return inner_->clientPid(); }

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, ...) \
    Reply name parameters override {                               \
        const NotedAfter noted(*this);                             \
        return inner_->name arguments;                             \
    }
#include "Simulator/DesktopOperations.def"

    std::vector<double> widths;

  private:
    struct NotedAfter {
        StatusItemWidthsSeen& seen;
        ~NotedAfter() {
            for (const auto& item : seen.desktop_->statusItems())
                seen.widths.push_back(item.frame.width());
        }
    };
    std::shared_ptr<DesktopConnection> inner_;
    std::shared_ptr<Desktop> desktop_;
};

}  // namespace
}  // namespace sim

namespace kelvo {
namespace {

constexpr std::uint16_t escapeKeyCode = 53;

/// A view that takes the keyboard focus and keeps what reaches it.
class Recorder : public NSView {
  public:
    using NSView::NSView;
    bool acceptsFirstResponder() const override { return true; }
    void keyDown(NSEvent& event) override {
        if (event.keyCode() == escapeKeyCode) return NSView::keyDown(event);
        typed += event.characters();
    }
    void mouseDown(NSEvent& event) override { presses.push_back(event.locationInWindow()); }
    std::optional<sim::InterfaceElement> accessibilityElement() const override {
        return sim::InterfaceElement{"textField", "Query", typed, "query",
                                     bounds(),    true,    false, std::nullopt};
    }
    std::string typed;
    std::vector<CGPoint> presses;
};

/// A non-activating panel that takes keys, counting what reaches its own handlers.
class KeyPanel : public NSPanel {
  public:
    explicit KeyPanel(CGRect frame)
        : NSPanel(frame, NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false) {}
    bool canBecomeKeyWindow() const override { return true; }
    bool performKeyEquivalent(NSEvent& event) override {
        if ((event.modifierFlags() & NSEventModifierFlagCommand) == 0)
            return NSPanel::performKeyEquivalent(event);
        equivalents += event.charactersIgnoringModifiers();
        return true;
    }
    void cancelOperation(const void*) override { ++cancels; }
    std::string equivalents;
    int cancels = 0;
};

class Delegate : public NSWindowDelegate {
  public:
    bool windowShouldClose(NSWindow&) override { return allowClose; }
    void windowWillClose(NSWindow& window) override { closed.push_back(window.title()); }
    void windowDidResignKey(NSWindow& window) override { resigned.push_back(window.title()); }
    bool allowClose = true;
    std::vector<std::string> closed;
    std::vector<std::string> resigned;
};

class Target : public NSObject {
  public:
    bool performAction(const std::string& selector, const void*) override {
        const auto& event = NSApplication::sharedApplication().currentEvent();
        actions.push_back(selector + (event ? ":" + std::to_string(static_cast<int>(event->type()))
                                            : std::string()));
        return true;
    }
    std::vector<std::string> actions;
};

class MenuWatcher : public NSMenuDelegate {
  public:
    void menuNeedsUpdate(NSMenu&) override { ++updates; }
    void menuDidClose(NSMenu&) override { ++closes; }
    int updates = 0;
    int closes = 0;
};

using OwnWindowTest = DesktopFixture;

TEST_F(OwnWindowTest, DrawsItsContentOncePerTurnOfTheMainLoopAndPublishesItsElements) {
    KeyPanel panel(CGRect(100, 300, 640, 400));
    panel.setBackgroundColor(NSColor::colorWithSRGBRed(1, 0, 0, 1));
    auto field = std::make_shared<Recorder>(CGRect(20, 320, 600, 60));
    panel.contentView()->addSubview(field);
    panel.orderFrontRegardless();
    settle();
    EXPECT_EQ(panel.picturesSent(), 1u);
    const auto number = static_cast<sim::WindowNumber>(panel.windowNumber());
    const auto pixels = desktop->ownWindowPicture(number).unpack();
    ASSERT_TRUE(pixels);
    ASSERT_EQ(pixels->size(), 640u * 400u);
    EXPECT_EQ(pixels->front(), 0xFFFF0000u) << "the background, opaque red";

    // Several changes in one turn make one picture.
    field->setNeedsDisplay();
    panel.setBackgroundColor(NSColor::colorWithSRGBRed(0, 0, 1, 1));
    field->setFrame(CGRect(20, 300, 600, 60));
    settle();
    EXPECT_EQ(panel.picturesSent(), 2u);
    EXPECT_EQ(desktop->ownWindowPicture(number).unpack()->front(), 0xFF0000FFu);

    // Each picture is drawn afresh: without a background, nothing of the blue is left.
    panel.setBackgroundColor(nullptr);
    field->setNeedsDisplay();
    settle();
    EXPECT_EQ(desktop->ownWindowPicture(number).unpack()->front(), 0u);

    // The field's frame on screen: the panel's top is 900 - 700 = 200 below the top of the
    // screen, the field's top 400 - 360 = 40 below the panel's.
    const auto elements = desktop->elements(ownPid);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[1].element.frame, CGRect(120, 240, 600, 60));

    // A hidden window sends nothing.
    panel.orderOut(nullptr);
    field->setNeedsDisplay();
    settle();
    EXPECT_EQ(panel.picturesSent(), 3u);
}

TEST_F(OwnWindowTest, KeysGoToTheFirstResponderAfterTheMonitorsAndTheKeyEquivalents) {
    const sim::Pid notes = launch("com.example.notes", true);
    KeyPanel panel(CGRect(100, 300, 640, 400));
    auto field = std::make_shared<Recorder>(CGRect(20, 320, 600, 60));
    panel.contentView()->addSubview(field);
    panel.orderFrontRegardless();
    panel.makeKeyWindow();
    ASSERT_TRUE(panel.makeFirstResponder(field.get()));
    int monitored = 0;
    const auto monitor = NSEvent::addLocalMonitorForEventsMatchingMask(
        NSEventMaskKeyDown, [&](const NSEventRef& event) -> NSEventRef {
            ++monitored;
            return event->characters() == "x" ? nullptr : event;
        });

    desktop->typeText("axb");
    settle();
    EXPECT_EQ(field->typed, "ab") << "the monitor swallowed the x";
    EXPECT_EQ(monitored, 3);
    EXPECT_EQ(desktop->frontmost(), notes) << "the application in front stays there";

    desktop->pressKey(0, NSEventModifierFlagCommand);
    desktop->pressKey(escapeKeyCode);
    settle();
    EXPECT_EQ(panel.equivalents, "a");
    EXPECT_EQ(field->typed, "ab");
    EXPECT_EQ(panel.cancels, 1) << "Escape turns into cancelOperation up the chain";
    NSEvent::removeMonitor(monitor);
}

TEST_F(OwnWindowTest, APressGoesToTheViewUnderThePointerWhichBecomesFirstResponder) {
    NSWindow window(CGRect(100, 300, 400, 300), NSWindowStyleMaskTitled, NSBackingStoreBuffered,
                    false);
    auto left = std::make_shared<Recorder>(CGRect(0, 0, 200, 300));
    auto right = std::make_shared<Recorder>(CGRect(200, 0, 200, 300));
    window.contentView()->addSubview(left);
    window.contentView()->addSubview(right);
    window.orderFront(nullptr);
    settle();
    // (350, 450) on the desktop is (250, 150) in the window: the right view.
    desktop->mouseDown(CGPoint{350, 450});
    desktop->mouseUp(CGPoint{350, 450});
    settle();
    EXPECT_TRUE(left->presses.empty());
    ASSERT_EQ(right->presses.size(), 1u);
    EXPECT_EQ(right->presses[0], (CGPoint{250, 150}));
    EXPECT_TRUE(window.isKeyWindow());
    EXPECT_EQ(window.firstResponder(), right.get());
}

TEST_F(OwnWindowTest, TheCloseButtonAsksTheDelegateAndTellsItBeforeClosing) {
    const NSWindowStyleMask titled =
        NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskFullSizeContentView;
    NSWindow window(CGRect(100, 300, 400, 300), titled, NSBackingStoreBuffered, false);
    window.setTitle("Kelvo Settings");
    Delegate delegate;
    window.setDelegate(&delegate);
    window.makeKeyAndOrderFront(nullptr);
    const auto number = static_cast<sim::WindowNumber>(window.windowNumber());

    delegate.allowClose = false;
    EXPECT_TRUE(desktop->pressCloseButton(number));
    settle();
    EXPECT_TRUE(window.isVisible());
    delegate.allowClose = true;
    EXPECT_TRUE(desktop->pressCloseButton(number));
    settle();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(delegate.closed, std::vector<std::string>{"Kelvo Settings"});
    EXPECT_EQ(delegate.resigned, std::vector<std::string>{"Kelvo Settings"});
    EXPECT_FALSE(desktop->pressCloseButton(number)) << "no button on a window not shown";

    NSPanel bare(CGRect(0, 0, 100, 100), NSWindowStyleMaskNonactivatingPanel,
                 NSBackingStoreBuffered, false);
    bare.orderFrontRegardless();
    EXPECT_FALSE(desktop->pressCloseButton(static_cast<sim::WindowNumber>(bare.windowNumber())));
}

TEST_F(OwnWindowTest, ItsTitleBarButtonsCloseAndZoomItThroughTheWindow) {
    const NSWindowStyleMask titled = NSWindowStyleMaskTitled | NSWindowStyleMaskClosable |
                                     NSWindowStyleMaskResizable |
                                     NSWindowStyleMaskFullSizeContentView;
    NSWindow window(CGRect(100, 300, 400, 300), titled, NSBackingStoreBuffered, false);
    window.setTitle("Kelvo Settings");
    Delegate delegate;
    window.setDelegate(&delegate);
    window.makeKeyAndOrderFront(nullptr);
    const auto number = static_cast<sim::WindowNumber>(window.windowNumber());
    const auto clickOn = [&](std::size_t button) {
        const CGRect frame = desktop->titleBarButtons(number).at(button).frame;
        desktop->mouseDown(CGPoint{frame.midX(), frame.midY()});
        desktop->mouseUp(CGPoint{frame.midX(), frame.midY()});
        settle();
    };
    const auto buttons = desktop->titleBarButtons(number);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_FALSE(buttons[1].enabled) << "not miniaturizable";

    // Zoomed, it fills the screen's visible area; zoomed again, it is back where it was.
    clickOn(2);
    EXPECT_EQ(window.frame(), NSScreen::mainScreen()->visibleFrame());
    clickOn(2);
    EXPECT_EQ(window.frame(), CGRect(100, 300, 400, 300));

    delegate.allowClose = false;
    clickOn(0);
    EXPECT_TRUE(window.isVisible()) << "the delegate is asked";
    delegate.allowClose = true;
    clickOn(0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(delegate.closed, std::vector<std::string>{"Kelvo Settings"});
}

TEST_F(OwnWindowTest, AStatusItemSendsItsActionOnItsMaskAndPopsUpAnAttachedMenu) {
    NSStatusItemRef item = NSStatusBar::systemStatusBar().statusItemWithLength(30);
    Target target;
    NSStatusBarButton* button = item->button();
    button->setAccessibilityLabel("Kelvo - desktop 1 of 9");
    button->setToolTip("tip");
    button->setTarget(&target);
    button->setAction("clicked");
    button->sendActionOn(NSEventMaskLeftMouseUp | NSEventMaskRightMouseUp);
    settle();
    const auto items = desktop->statusItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].spec.label, "Kelvo - desktop 1 of 9");
    EXPECT_EQ(items[0].spec.toolTip, "tip");
    EXPECT_EQ(items[0].frame.width(), 30);
    // The button's window stands where the item does, in screen coordinates.
    EXPECT_EQ(item->window()->frame(),
              CGRect(items[0].frame.minX(), 900 - 25, items[0].frame.width(), 25));

    const CGPoint at{items[0].frame.midX(), 10};
    desktop->rightMouseDown(at);
    desktop->rightMouseUp(at);
    desktop->mouseDown(at);
    desktop->mouseUp(at);
    settle();
    EXPECT_EQ(target.actions, (std::vector<std::string>{"clicked:4", "clicked:2"}));

    auto menu = std::make_shared<NSMenu>();
    MenuWatcher watcher;
    menu->setDelegate(&watcher);
    menu->addItemWithTitle("Rebalance", "rebalance", "")->setTarget(&target);
    menu->addItem(NSMenuItem::separatorItem());
    menu->addItemWithTitle("Quit Kelvo", "quit", "")->setTarget(&target);
    item->setMenu(menu);
    target.actions.clear();
    button->performClick(nullptr);
    settle();
    EXPECT_EQ(watcher.updates, 1);
    ASSERT_EQ(desktop->openMenu().size(), 3u);
    EXPECT_TRUE(desktop->openMenu()[1].separator);
    EXPECT_TRUE(desktop->pickMenuItem("Rebalance"));
    settle();
    EXPECT_EQ(target.actions, std::vector<std::string>{"rebalance:2"});
    EXPECT_EQ(watcher.closes, 1);
    EXPECT_TRUE(desktop->openMenu().empty());

    // Escape closes the menu without an action.
    button->performClick(nullptr);
    settle();
    desktop->pressKey(escapeKeyCode);
    settle();
    EXPECT_EQ(watcher.closes, 2);
    EXPECT_EQ(target.actions.size(), 1u);
    menu->setDelegate(nullptr);
}

TEST_F(OwnWindowTest, AStatusItemIsListedAtItsLengthFromTheMomentItIsMade) {
    const auto seen = std::make_shared<sim::StatusItemWidthsSeen>(connection, desktop);
    sim::SharedConnection::install(seen);
    NSStatusItemRef item = NSStatusBar::systemStatusBar().statusItemWithLength(30);
    item->button()->setToolTip("tip");
    settle();
    sim::SharedConnection::install(connection);
    ASSERT_FALSE(seen->widths.empty());
    for (const double width : seen->widths)
        EXPECT_EQ(width, 30);
}

TEST_F(OwnWindowTest, AViewPinnedToItsSuperviewsEdgesFollowsItsSize) {
    auto container = std::make_shared<NSView>(CGRect(0, 0, 640, 60));
    auto hosted = std::make_shared<NSView>();
    container->addSubview(hosted);
    hosted->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activateConstraints({
        hosted->leadingAnchor().constraintEqualToAnchor(container->leadingAnchor()),
        hosted->trailingAnchor().constraintEqualToAnchor(container->trailingAnchor()),
        hosted->topAnchor().constraintEqualToAnchor(container->topAnchor(), 10),
        hosted->bottomAnchor().constraintEqualToAnchor(container->bottomAnchor()),
    });
    EXPECT_EQ(hosted->frame(), CGRect(0, 0, 640, 50));
    container->setFrameSize(CGSize{640, 216});
    EXPECT_EQ(hosted->frame(), CGRect(0, 0, 640, 206));
}

}  // namespace
}  // namespace kelvo
