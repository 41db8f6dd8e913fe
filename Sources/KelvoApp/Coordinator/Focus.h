#pragma once

#include <functional>
#include <optional>
#include <string>

#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class StoreWiring;
class ConfigurationChanges;
class OwnWindows;

/// Which window has the keyboard as the coordinator believes it: the focused window, a window
/// that reported focus before it was managed, and an application in front that has nothing
/// managed here. Every focus change goes through `acceptFocus` (a change that already happened)
/// or `claimFocus` (asked of the store, and checked a moment later); focused and activated
/// events are decided here, and the border and the status item's name follow.
class Focus {
  public:
    static constexpr double pendingFocusDelay = 1.5;
    static constexpr double activationCheckDelay = 1.2;
    static constexpr int appNameLimit = 20;

    /// What focus decisions ask of the border and of the adoption of windows.
    struct Callbacks {
        std::function<void()> updateBorder;
        std::function<void()> hideBorder;
        /// Adopts a window that was never announced, from the first step of the ladder.
        std::function<void(WindowID)> adopt;
        /// An application in front that named no window: adopts what of it can be adopted.
        std::function<void(const std::optional<std::string>&)> adoptWindowlessFront;
    };

    Focus(const CoordinatorProcess& process, const ProcessLog& log, const WindowNames& names,
          StoreWiring& wiring, const ConfigurationChanges& configuration, OwnWindows& ownWindows,
          Callbacks callbacks);
    Focus(const Focus&) = delete;
    Focus& operator=(const Focus&) = delete;

    std::optional<WindowID> focused() const { return focused_; }
    std::optional<WindowID> pendingFocus() const { return pendingFocus_; }
    bool frontIsForeign() const { return frontIsForeign_; }

    /// The launch focus: the front application's window, else the leftmost of the desktop.
    void focusAtLaunch();
    /// Records a focus change that already happened.
    void acceptFocus(WindowID w);
    /// Asks the store to focus the window and checks later that its application came to
    /// the front.
    void claimFocus(WindowID w, bool raising);
    /// Focuses the leftmost window of the active desktop when the focused one is not there.
    void reseedFocusIfStale();
    /// The window is no longer managed: it is neither focused nor pending.
    void forget(WindowID w);
    /// A closed window no longer waits to be focused.
    void forgetPending(WindowID w);
    /// Focus after a close, as the store decided it.
    void followClose(WindowID closed, const WorkspaceStore::SuccessorFocus& successor);
    /// A window just adopted: honours a focus it reported before it was known.
    void windowAdopted(WindowID w, const std::string& bundleID);

    void eventFocused(WindowID id);
    void eventActivated(std::optional<WindowID> window, const std::optional<std::string>& bundle);
    void noteForeignFront(const std::optional<std::string>& bundle);
    void clearForeignFrontIfResolved();

    /// The status item's application name and the border, after any change of focus.
    void focusNameRefresh();
    /// The name the status item shows; none when it shows none.
    std::optional<std::string> focusedAppName() const;

  private:
    void verifyActivation(WindowID w);
    void pendingFocusCheck(WindowID id);
    void answerFocused(WindowID id, const WorkspaceStore::FocusResponse& response);
    bool followToItsDesktop(const std::string& bundle, std::optional<WindowID> window);
    bool revealForActivation(WindowID w);
    void activatedWindow(WindowID w, const std::optional<std::string>& bundle);
    void log(const std::string& message) const;
    std::string named(WindowID id) const;

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    const WindowNames& names_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    OwnWindows& ownWindows_;
    Callbacks callbacks_;

    std::optional<WindowID> focused_;
    std::optional<WindowID> pendingFocus_;
    bool frontIsForeign_ = false;
    std::optional<std::string> foreignFrontBundleID_;
    LaterWork later_;
};

}  // namespace kelvo
