#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/DispatchWorkItem.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

class ProcessLog;
class WindowNames;
class StoreWiring;
class ConfigurationChanges;

/// Where the focus border stands: around the focused window when one is shown here, hidden
/// (with the reason logged once) when not, out of the way while a window moves, and on the
/// drop target while a window is dragged.
class BorderTracking {
  public:
    static constexpr double settleDelay = 0.12;

    /// What the border reads of the focus.
    struct Callbacks {
        std::function<std::optional<WindowID>()> focused;
        /// Whether an application with nothing managed here is in front.
        std::function<bool()> frontIsForeign;
    };

    BorderTracking(const ProcessLog& log, const WindowNames& names, StoreWiring& wiring,
                   const ConfigurationChanges& configuration, Callbacks callbacks);
    ~BorderTracking();
    BorderTracking(const BorderTracking&) = delete;
    BorderTracking& operator=(const BorderTracking&) = delete;

    /// The border's panel, not shown, in the configured look.
    void make();
    /// Around the focused window, or hidden with the reason logged once; left alone while
    /// a window is dragged.
    void update();
    void hide();
    /// The window moved: a border around it hides and comes back once the moves settle.
    void followMove(WindowID id);
    /// The drop target of a drag, or none when there is none any more.
    void showDragTarget(const std::optional<CGRect>& frame);
    /// A dragged window moved: a border around it hides unless it marks a drop target.
    void dragStepped(WindowID w);
    void restyle(const Config& config);

    /// The panel's window-server number; 0 before it exists.
    long windowNumber() const;
    bool isShown() const;
    bool isShowingDragTarget() const { return dragTargetShown_; }
    /// The panel, for what the desktop shows of it; null before it exists.
    const FocusBorder* panel() const { return border_.get(); }

  private:
    std::optional<std::string> hiddenReason(std::optional<CGRect>& frame) const;

    const ProcessLog& log_;
    const WindowNames& names_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    Callbacks callbacks_;

    std::unique_ptr<FocusBorder> border_;
    std::optional<std::string> lastHiddenReason_;
    std::optional<DispatchWorkItem> settle_;
    bool dragTargetShown_ = false;
    LaterWork later_;
};

}  // namespace kelvo
