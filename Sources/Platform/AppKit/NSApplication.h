#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Base/Foundation/NSNotificationCenter.h"
#include "Base/Foundation/NSObject.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSRunningApplication.h"
#include "Simulator/DesktopEvent.h"

class NSWindow;

// The application object of this process: its activation policy, its run loop, its main menu,
// and termination with its notification. Notifications go to the default centre: the screens
// changing (posted on the main queue) and the application about to terminate (posted on the
// thread that terminates it, the main thread).

inline const NSNotificationName NSApplicationWillTerminateNotification =
    "NSApplicationWillTerminateNotification";
inline const NSNotificationName NSApplicationDidChangeScreenParametersNotification =
    "NSApplicationDidChangeScreenParametersNotification";
/// Posted after the application has updated its windows (on the main queue).
inline const NSNotificationName NSApplicationDidUpdateNotification =
    "NSApplicationDidUpdateNotification";

class NSApplication {
  public:
    static NSApplication& sharedApplication();

    bool setActivationPolicy(NSApplicationActivationPolicy policy);
    NSApplicationActivationPolicy activationPolicy() const;
    /// Brings this application to the front (the flag is kept for the callers' sake).
    void activateIgnoringOtherApps(bool flag);
    bool isActive() const;

    /// Runs the main run loop until `stop` or termination.
    void run();
    void stop(const void* sender);
    bool isRunning() const { return running_; }
    /// Posts the will-terminate notification, then ends the process (see
    /// `setTerminationHandler`). A quit asked from outside the process arrives here on the
    /// main queue.
    void terminate(const void* sender);
    /// What ends the process once termination has been announced; by default it exits with
    /// status 0. Tests put their own.
    void setTerminationHandler(std::function<void()> handler);

    const NSMenuRef& mainMenu() const { return mainMenu_; }
    void setMainMenu(NSMenuRef menu) { mainMenu_ = std::move(menu); }
    NSWindow* keyWindow() const;
    /// The application's windows, in the order they were made, whether shown or not.
    std::vector<NSWindow*> windows() const;
    /// A window was shown, hidden, moved or closed: the windows are updated on the next turn
    /// of the main loop.
    void setWindowsNeedUpdate(bool needsUpdate);
    /// Posts the update notification.
    void updateWindows();

    // Events. The desktop's events for this process's windows, status items and close buttons
    // are handled on the main queue, one at a time.
    /// The event being handled now; null between events.
    const NSEventRef& currentEvent() const { return currentEvent_; }
    /// Runs `handle` with the event as the current one.
    void withCurrentEvent(const NSEventRef& event, const std::function<void()>& handle);
    /// Hands an event of one of the windows on: the local monitors first, then for a key the
    /// window's key equivalents, the main menu's, and the window's first responder.
    void sendEvent(const NSEventRef& event);
    /// Sends an action to the target, or without one up the key window's responder chain;
    /// false when nobody answered it.
    bool sendAction(const std::string& action, NSObject* target, const void* sender);

  private:
    NSApplication();

    void handleInterfaceEvent(const sim::DesktopEvent& event);
    /// Another application came to the front: the key window lets go of the keys, as windows
    /// of an inactive application do (a panel that takes keys without activating keeps them).
    void resignActive();
    /// This application is in front again: the window that let go takes the keys back.
    void becomeActive();

    bool running_ = false;
    /// The window that was key when the application went to the background.
    long keyWhenResigned_ = 0;
    NSMenuRef mainMenu_;
    NSEventRef currentEvent_;
    std::function<void()> terminationHandler_;
};
