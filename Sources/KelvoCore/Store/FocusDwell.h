#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// Carries the armed focus target between pointer moves, so that a pointer passing over windows
/// on its way elsewhere does not move the focus. A generation number, not a lock, keeps a stale
/// dwell from focusing a window the pointer has already left.
class FocusDwell {
  public:
    /// Runs the work once, after the delay in seconds, on the main thread.
    using Scheduler = std::function<void(double delay, std::function<void()> work)>;

    FocusDwell() = default;
    FocusDwell(const FocusDwell&) = delete;
    FocusDwell& operator=(const FocusDwell&) = delete;

    /// Without a scheduler a positive delay focuses at once.
    Scheduler schedule;
    std::function<void(WindowID)> onFocus;

    std::optional<WindowID> armed() const { return armed_; }
    int generation() const { return generation_; }

    void pointerMoved(CGPoint point, const std::map<WindowID, CGRect>& windowFrames,
                      const std::set<WindowID>& onTop, std::optional<WindowID> focused,
                      const std::vector<CGRect>& deadZones, double delay);
    /// Drops the armed target; a dwell already scheduled then does nothing.
    void cancel();

  private:
    void arm(WindowID target, double delay);
    void fire(int generation, WindowID target);
    void focusNow(WindowID target);

    std::optional<WindowID> armed_;
    int generation_ = 0;
    /// Scheduled work holds this weakly and does nothing once the dwell is gone.
    std::shared_ptr<FocusDwell*> self_ = std::make_shared<FocusDwell*>(this);
};

}  // namespace kelvo
