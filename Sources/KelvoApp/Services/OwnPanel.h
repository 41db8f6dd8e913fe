#pragma once

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// One of the program's own panels or windows as the coordinator handles it: ordered front
/// and out, visible and key, with a window-server number that hit tests look through. A
/// placeholder, no window of the desktop, for the panels still to be drawn with the view
/// toolkit (the switch display, the cheat sheet, the launcher, the settings window and the
/// guide); the focus border is a panel of the desktop already.
struct OwnPanel {
    int windowNumber = 0;
    bool visible = false;
    bool key = false;
    CGRect frame;

    void orderFront() { visible = true; }
    void orderOut() {
        visible = false;
        key = false;
    }
};

}  // namespace kelvo
