#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/ManagedWindow.h"

namespace kelvo {

/// The store's only way to the windows of other applications. Every call is synchronous and made
/// on the main thread. Nothing here throws or reports an error: a window that cannot be addressed
/// yields none, false or no effect, and callers judge a write only by what they read back.
class WindowBridging {
  public:
    virtual ~WindowBridging() = default;

    /// Every window that can be managed now, one record each.
    virtual std::vector<ManagedWindow> windows() = 0;
    /// The frame as it is at the moment of the call; none when it cannot be read.
    virtual std::optional<CGRect> frame(WindowID id) = 0;
    /// Asks for position and size. The answer is advisory: nobody decides anything on it.
    virtual bool setFrame(const CGRect& frame, WindowID id) = 0;
    /// Moves the top-left corner without resizing.
    virtual void setPosition(const CGPoint& position, WindowID id) = 0;
    /// Above its application's other windows, without taking focus.
    virtual void raise(WindowID id) = 0;
    /// Focuses the window and activates its application.
    virtual void focus(WindowID id) = 0;
    virtual void setMinimized(bool minimized, WindowID id) = 0;
    /// False when it cannot be told.
    virtual bool isWindowMinimized(WindowID id) = 0;
    /// False when it cannot be told.
    virtual bool isWindowFullScreen(WindowID id) = 0;
    /// Whether the window can still be addressed at all.
    virtual bool canReach(WindowID id) = 0;
    /// Windows still kept although the last listing of their application's windows missed them.
    virtual std::set<WindowID> retainedWindows() const = 0;
    /// Hides or unhides every running application with this bundle identifier.
    virtual void setHidden(bool hidden, const std::string& bundleID) = 0;
    /// True when a running application with this bundle identifier is hidden.
    virtual bool isApplicationHidden(const std::string& bundleID) = 0;
};

}  // namespace kelvo
