#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/FocusDwell.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class StoreWiring;
class ConfigurationChanges;

/// Focus that follows the pointer: the mouse-moved tap while it is switched on, and the dwell
/// that focuses the window the pointer rests on, except over the own windows, while a floating
/// window is focused, or while the focused window is full screen.
class PointerFocus {
  public:
    static constexpr double pointerDebounce = 0.03;

    /// What the pointer asks of the focus and the own windows.
    struct Callbacks {
        std::function<std::optional<WindowID>()> focused;
        /// Asks the store to focus the window, raising it or not.
        std::function<void(WindowID, bool)> claimFocus;
        /// Whether the settings window or the guide is shown with the keyboard.
        std::function<bool()> ownWindowHasKeyboard;
    };

    PointerFocus(const CoordinatorProcess& process, const ProcessLog& log, StoreWiring& wiring,
                 const ConfigurationChanges& configuration, Callbacks callbacks);
    ~PointerFocus();
    PointerFocus(const PointerFocus&) = delete;
    PointerFocus& operator=(const PointerFocus&) = delete;

    /// The dwell, on main-queue delays; the pointer is not watched yet.
    void prepare();
    /// Starts watching the pointer; logs and stays off when the tap cannot be made.
    void start();
    /// Stops watching the pointer and forgets a dwell in progress.
    void stop();
    /// Drops the pointer's tap as the coordinator goes.
    void release();
    bool isFollowing() const { return service_ != nullptr; }

  private:
    void pointerMoved(CGPoint point);
    bool pointerSuppressed() const;
    void dwellFocus(WindowID w);

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    Callbacks callbacks_;

    std::unique_ptr<FocusFollowsCursorService> service_;
    std::unique_ptr<FocusDwell> dwell_;
    LaterWork later_;
};

}  // namespace kelvo
