#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoApp/Coordinator/MadeByStartup.h"
#include "KelvoApp/Coordinator/MinimizedToParkFile.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/CoordinatorBridge.h"
#include "KelvoCore/Store/SessionSnapshot.h"
#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class BorderTracking;

/// The workspace store and the Accessibility bridge under it, as the coordinator wires them:
/// the store's schedulers become main-queue delays, its hooks become log lines and the
/// reactions of the other parts, and every change of its state is logged and written to the
/// session file.
class StoreWiring {
  public:
    static constexpr double coalesceDelay = 0.016;
    static constexpr double retryDelay = 0.15;
    static constexpr double dragSettleDelay = 0.2;
    static constexpr double dragStepDelay = 0.016;
    /// A session written further from the boot time than this belongs to another boot.
    static constexpr double sessionBootTolerance = 2.0;
    static constexpr const char* sessionFileName = "session.json";

    /// What the store's hooks ask of the rest of the coordinator, besides the border.
    struct Callbacks {
        /// The status item's name and the border, after work the store did later.
        std::function<void()> focusNameRefresh;
        /// Flashes a desktop's tile in the status item.
        std::function<void(int)> flash;
        /// The store adopted the window.
        std::function<void(WindowID)> adopted;
        /// Keeps what the store learned in the configuration.
        std::function<void(const std::function<void(Config&)>&)> changeConfig;
    };

    StoreWiring(const CoordinatorProcess& process, const ProcessLog& log, const WindowNames& names,
                BorderTracking& border, Callbacks callbacks);
    StoreWiring(const StoreWiring&) = delete;
    StoreWiring& operator=(const StoreWiring&) = delete;

    /// The bridge over the configuration, the screen the panes are laid out in and the store.
    void makeStore(const Config& config);
    /// Tells the store the displays attached at launch.
    void readDisplays();
    /// The store's hooks, schedulers and queries that exist before any window is read.
    void installHooks();
    /// The session file beside the configuration file, for this boot.
    void placeSessionFile(const std::filesystem::path& configURL);
    /// Reads and checks the session file; none when it is missing, unreadable or from
    /// another boot.
    std::optional<SessionSnapshot> loadSession();
    /// From now on every state log rewrites the session file.
    void markSessionReady() { sessionReady_ = true; }
    /// The status item exists: a stash flashes its tile from now on, and the stashes before
    /// it flash now.
    void statusItemMade();
    /// The hooks that need the status item: the drag step and the adopted hook.
    void installLateHooks();
    /// The state text, line by line, then the session file.
    void logState();
    void saveSession();
    /// The windows a run of this boot minimized to park and did not bring back.
    std::set<WindowID> minimizedToParkBefore() const { return minimizedToPark_.load(); }
    /// Records the windows minimized to park now (none once every window is put back).
    void saveMinimizedToPark();
    /// The screens changed: the displays, the menu bar strips and the screen again.
    void screenParametersChanged();

    WorkspaceStore& store() const { return madeByStartup(store_, "StoreWiring::store"); }
    CoordinatorBridge& bridge() const { return madeByStartup(bridge_, "StoreWiring::bridge"); }
    const std::optional<std::string>& ownBundleID() const { return ownBundleID_; }
    CGRect screenFrame() const { return screenFrame_; }
    /// The menu bar of every screen, where the pointer focuses nothing.
    const std::vector<CGRect>& menuBarDeadZones() const { return menuBarDeadZones_; }
    double bootTime() const { return bootTime_; }
    bool sessionReady() const { return sessionReady_; }

  private:
    void installSchedulers();
    void installLayoutHooks();
    void installDragHooks();
    void installAdoptionHooks();
    void installRuleHooks();
    void logStash(WindowID w, int d) const;
    void log(const std::string& message) const;
    std::string named(WindowID id) const;

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    const WindowNames& names_;
    BorderTracking& border_;
    Callbacks callbacks_;

    std::shared_ptr<CoordinatorBridge> bridge_;
    std::unique_ptr<WorkspaceStore> store_;
    CGRect screenFrame_;
    std::vector<CGRect> menuBarDeadZones_;
    std::optional<std::string> ownBundleID_;
    std::filesystem::path sessionURL_;
    MinimizedToParkFile minimizedToPark_;
    double bootTime_ = 0;
    bool sessionReady_ = false;
    /// Desktops whose stash came before the status item could flash it.
    std::vector<int> stashedBeforeStatusItem_;
    LaterWork later_;
};

}  // namespace kelvo
