#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Base/Foundation/NSNotificationCenter.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSRunningApplication.h"

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

  private:
    NSApplication();

    bool running_ = false;
    NSMenuRef mainMenu_;
    std::function<void()> terminationHandler_;
};
