#pragma once

#include <vector>

#include "KelvoApp/Interfaces/AppPlatform.h"

namespace kelvo {

/// Keeps the application out of the Dock and the application switcher while none of its own
/// windows is open, and makes it a regular application with a main menu while one is.
class AppPresence {
  public:
    explicit AppPresence(AppPlatform& platform) : platform_(platform) {}

    void windowOpened() { openWindowsChanged(1); }
    void windowClosed();
    void openWindowsChanged(int change);
    void installMenu();
    int openWindows() const { return openWindows_; }

    /// The application menu and the Edit menu.
    static std::vector<MenuItem> mainMenu();

  private:
    AppPlatform& platform_;
    int openWindows_ = 0;
};

}  // namespace kelvo
