#pragma once

#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoApp/Services/RequestLog.h"

namespace kelvo {

/// The short desktop-switch display. Until its drawing is built it records what it shows.
class SwitchHUD {
  public:
    static constexpr double dismissDelay = 0.42;

    void show(int desktop);
    /// The panel's window-server number, which hit tests look through.
    int windowNumber() const { return panel.windowNumber; }

    OwnPanel panel;
    RequestLog log;
};

}  // namespace kelvo
