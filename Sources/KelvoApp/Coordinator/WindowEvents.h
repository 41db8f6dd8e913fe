#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoAX/Classification/ActivationSweepRecord.h"
#include "KelvoAX/Classification/AdoptionLadder.h"
#include "KelvoAX/Events/WindowEvent.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoApp/Interfaces/WindowEventSource.h"
#include "KelvoCore/Store/ManagedWindow.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class StoreWiring;
class Focus;

/// Other applications' windows coming and going: the Accessibility event stream, the events
/// of windows being created, destroyed, moved, minimized and restored and of applications
/// ending, hiding and unhiding, and the adoption of new windows, re-read on the adoption
/// ladder's delays until they settle.
class WindowEvents {
  public:
    static constexpr double heldButtonRecheck = 0.1;

    /// What window events ask of the border and the status item.
    struct Callbacks {
        std::function<void()> updateBorder;
        /// The window moved: the border around it steps out of the way until the moves settle.
        std::function<void(WindowID)> borderFollowsMove;
        /// The status item's tiles and layout mark for the active desktop.
        std::function<void()> desktopRefresh;
    };

    WindowEvents(const CoordinatorProcess& process, const ProcessLog& log, WindowNames& names,
                 StoreWiring& wiring, Focus& focus, Callbacks callbacks);
    WindowEvents(const WindowEvents&) = delete;
    WindowEvents& operator=(const WindowEvents&) = delete;

    /// Makes and starts the event stream, its events handled here, and the hidden and unhidden
    /// notices.
    void listen();
    /// Stops the event stream as the coordinator goes.
    void stop();

    void eventCreated(WindowID id, const std::optional<std::string>& ownerBundleID,
                      const std::optional<WindowElementRef>& element);
    void eventDestroyed(WindowID id);
    void eventMoved(WindowID id);
    void eventMinimized(WindowID id);
    void eventUnminimized(WindowID id);
    void eventTerminated(const std::optional<std::string>& bundleID);
    void applicationHidden(const std::optional<std::string>& bundleID);
    void applicationUnhidden(const std::optional<std::string>& bundleID);

    /// A window that is gone: out of the store, focus passed on.
    void windowGone(WindowID id);
    /// Adopts the window once no mouse button is held and no other adoption of it runs.
    void beginAdoption(WindowID id, int attempt, std::optional<std::vector<ManagedWindow>> using_,
                       bool announceGiveUp, bool waited);
    /// The launch re-read of a window that read as floating at launch.
    void launchReread(const ManagedWindow& window);
    /// An application in front that named no window: adopts what of it can be adopted.
    void adoptWindowlessFront(const std::optional<std::string>& bundle);
    /// The store adopted the window: its close is observed from now on.
    void adopted(WindowID id);

  private:
    /// Hands an event of the stream to the handler of its case: this part's, or the focus's.
    void handle(const WindowEvent& event);
    void adoptCreated(WindowID id, int attempt, std::int64_t generation,
                      std::optional<std::vector<ManagedWindow>> using_, bool announceGiveUp);
    std::vector<ManagedWindow> readWindows();
    void scheduleReread(WindowID id, int attempt, std::int64_t generation, bool announceGiveUp,
                        double delay);
    /// Adopts a window its application lists; the delay before it is read again when it has
    /// not settled yet.
    std::optional<double> adoptListed(const ManagedWindow& w, int attempt);
    /// A window its application does not list; the delay before it is read again, if it is.
    std::optional<double> missingFromList(WindowID id, int attempt, bool announceGiveUp);
    void log(const std::string& message) const;
    std::string named(WindowID id) const;

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    WindowNames& names_;
    StoreWiring& wiring_;
    Focus& focus_;
    Callbacks callbacks_;

    AdoptionLadder ladder_;
    ActivationSweepRecord sweepRecord_;
    std::unique_ptr<WindowEventSource> source_;
    LaterWork later_;
};

}  // namespace kelvo
