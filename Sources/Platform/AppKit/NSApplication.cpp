#include "Platform/AppKit/NSApplication.h"

#include <cstdlib>
#include <utility>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Platform/AppKit/NSStatusBar.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Simulator/SharedConnection.h"

NSApplication::NSApplication() {
    NSWindow::setWindowsChangedHandler([this] { setWindowsNeedUpdate(true); });
    using Topic = sim::SharedConnection::Topic;
    sim::SharedConnection::setHandler(Topic::screens, [this](const sim::DesktopEvent&) {
        DispatchQueue::main().async([this] {
            NSNotificationCenter::defaultCenter().post(
                NSApplicationDidChangeScreenParametersNotification, this);
        });
    });
    sim::SharedConnection::setHandler(Topic::application, [this](const sim::DesktopEvent& event) {
        if (std::holds_alternative<sim::TerminateRequested>(event))
            DispatchQueue::main().async([this] { terminate(nullptr); });
    });
    sim::SharedConnection::setHandler(Topic::interface, [this](const sim::DesktopEvent& event) {
        DispatchQueue::main().async([this, event] { handleInterfaceEvent(event); });
    });
    NSNotificationCenter& workspace = NSWorkspace::sharedWorkspace().notificationCenter();
    const auto ownActivation = [this](void (NSApplication::*change)()) {
        return [this, change](const NSNotification& notification) {
            const auto app = NSWorkspace::applicationOf(notification);
            const auto self = NSRunningApplication::currentApplication();
            if (!app || !self || app->processIdentifier() != self->processIdentifier()) return;
            DispatchQueue::main().async([this, change] { (this->*change)(); });
        };
    };
    workspace.addObserver(NSWorkspaceDidDeactivateApplicationNotification, nullptr, nullptr,
                          ownActivation(&NSApplication::resignActive));
    workspace.addObserver(NSWorkspaceDidActivateApplicationNotification, nullptr, nullptr,
                          ownActivation(&NSApplication::becomeActive));
}

void NSApplication::resignActive() {
    NSWindow* key = NSWindow::keyWindow();
    if (!key || (key->styleMask() & NSWindowStyleMaskNonactivatingPanel)) return;
    keyWhenResigned_ = key->windowNumber();
    key->resignKeyWindow();
}

void NSApplication::becomeActive() {
    const long number = std::exchange(keyWhenResigned_, 0);
    NSWindow* former = number ? NSWindow::windowWithNumber(number) : nullptr;
    if (former && former->isVisible() && !NSWindow::keyWindow()) former->makeKeyWindow();
}

NSApplication& NSApplication::sharedApplication() {
    static NSApplication* application = new NSApplication();  // lives as long as the process
    return *application;
}

bool NSApplication::setActivationPolicy(NSApplicationActivationPolicy policy) {
    const auto connection = sim::SharedConnection::current();
    if (connection->clientPid() == 0) return false;
    connection->setActivationPolicy(connection->clientPid(),
                                    static_cast<sim::ActivationPolicy>(policy));
    return true;
}

NSApplicationActivationPolicy NSApplication::activationPolicy() const {
    return NSRunningApplication::currentApplication()->activationPolicy();
}

void NSApplication::activateIgnoringOtherApps(bool) {
    const auto connection = sim::SharedConnection::current();
    connection->activateApplication(connection->clientPid(), false);
}

bool NSApplication::isActive() const {
    return NSRunningApplication::currentApplication()->isActive();
}

void NSApplication::run() {
    running_ = true;
    CFRunLoopRun();
    running_ = false;
}

void NSApplication::stop(const void*) {
    CFRunLoopStop(CFRunLoopGetMain());
}

void NSApplication::terminate(const void*) {
    NSNotificationCenter::defaultCenter().post(NSApplicationWillTerminateNotification, this);
    // A stop while the loop is not running would end its next run at once.
    if (running_) stop(nullptr);
    if (terminationHandler_) {
        terminationHandler_();
    } else {
        std::exit(0);
    }
}

void NSApplication::setTerminationHandler(std::function<void()> handler) {
    terminationHandler_ = std::move(handler);
}

NSWindow* NSApplication::keyWindow() const {
    return NSWindow::keyWindow();
}

std::vector<NSWindow*> NSApplication::windows() const {
    return NSWindow::allWindows();
}

void NSApplication::setWindowsNeedUpdate(bool needsUpdate) {
    if (needsUpdate) DispatchQueue::main().async([this] { updateWindows(); });
}

void NSApplication::updateWindows() {
    NSNotificationCenter::defaultCenter().post(NSApplicationDidUpdateNotification, this);
}

void NSApplication::handleInterfaceEvent(const sim::DesktopEvent& event) {
    if (const auto* input = std::get_if<sim::OwnWindowInput>(&event)) {
        NSWindow* window = NSWindow::windowWithNumber(input->window);
        if (window) sendEvent(std::make_shared<NSEvent>(input->event, window));
    } else if (const auto* item = std::get_if<sim::StatusItemInput>(&event)) {
        NSStatusBar::systemStatusBar().deliver(*item);
    } else if (const auto* close = std::get_if<sim::CloseButtonPressed>(&event)) {
        if (NSWindow* window = NSWindow::windowWithNumber(close->window))
            window->performClose(nullptr);
    } else if (const auto* zoom = std::get_if<sim::ZoomButtonPressed>(&event)) {
        if (NSWindow* window = NSWindow::windowWithNumber(zoom->window))
            window->performZoom(nullptr);
    } else if (const auto* lost = std::get_if<sim::KeyStatusLost>(&event)) {
        if (NSWindow* window = NSWindow::windowWithNumber(lost->window)) window->resignKeyWindow();
    }
}

void NSApplication::withCurrentEvent(const NSEventRef& event, const std::function<void()>& handle) {
    NSEventRef former = std::exchange(currentEvent_, event);
    handle();
    currentEvent_ = std::move(former);
}

void NSApplication::sendEvent(const NSEventRef& delivered) {
    const NSEventRef event = NSEvent::runLocalMonitors(delivered);
    if (!event) return;
    NSWindow* window = event->window();
    if (!window) return;
    withCurrentEvent(event, [&] {
        if (event->type() == NSEventType::keyDown) {
            if (window->performKeyEquivalent(*event)) return;
            if (mainMenu_ && mainMenu_->performKeyEquivalent(*event)) return;
        }
        window->sendEvent(*event);
    });
}

bool NSApplication::sendAction(const std::string& action, NSObject* target, const void* sender) {
    if (action.empty()) return false;
    if (target) return target->performAction(action, sender);
    NSWindow* key = NSWindow::keyWindow();
    return key && key->firstResponder()->tryToPerform(action, sender);
}
