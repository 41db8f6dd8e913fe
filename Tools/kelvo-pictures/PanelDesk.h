#pragma once

#include <memory>

#include "Base/CoreGraphics/CGImage.h"
#include "Base/Foundation/ManualClock.h"
#include "Platform/AppKit/NSWindow.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"

namespace kelvo_pictures {

/// A desktop of this process for the panels and windows to be windows of, on a clock that the
/// picture moves on; the pictures are their content as drawn, over a grey like a desktop's.
class PanelDesk {
  public:
    /// The desktop's one display, where the pictures' windows are placed.
    explicit PanelDesk(CGRect display = CGRect(0, 0, 1440, 900));
    ~PanelDesk();
    PanelDesk(const PanelDesk&) = delete;
    PanelDesk& operator=(const PanelDesk&) = delete;

    void wait(double seconds) { clock_.advance(seconds); }
    sim::Desktop& desktop() { return *desktop_; }

    /// The window's content on a margin of desktop grey, pixel for pixel as the window drew it.
    static CGImageRef picture(NSWindow& window, CGFloat margin);

  private:
    ManualClock clock_;
    std::shared_ptr<sim::Desktop> desktop_ = std::make_shared<sim::Desktop>();
    std::shared_ptr<sim::InProcessConnection> connection_ =
        std::make_shared<sim::InProcessConnection>(desktop_);
};

}  // namespace kelvo_pictures
