#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Geometry/Direction.h"
#include "KelvoCore/Geometry/Display.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Launcher/LauncherAction.h"
#include "KelvoCore/Launcher/LauncherRequest.h"
#include "KelvoCore/Layout/LayoutMode.h"
#include "KelvoCore/Layout/LayoutTree.h"
#include "KelvoCore/Store/AdoptionRecord.h"
#include "KelvoCore/Store/ExpectedFocus.h"
#include "KelvoCore/Store/LaunchFit.h"
#include "KelvoCore/Store/Pane.h"
#include "KelvoCore/Store/ParkFinding.h"
#include "KelvoCore/Store/Reconciler.h"
#include "KelvoCore/Store/SessionSnapshot.h"
#include "KelvoCore/Store/VisibilityAudit.h"
#include "KelvoCore/Store/VisibilityFinding.h"
#include "KelvoCore/Store/WindowBridging.h"
#include "KelvoCore/Store/WindowState.h"

namespace kelvo {

/// The one model of the window manager: which windows are managed, on which desktop and
/// display each lives, every pane's layout tree, which windows float or are parked, what focus
/// change is expected, and the bookkeeping of layout passes, drags and full screen.
///
/// Main thread only. The store owns no clock, thread or log: time reaches it through the
/// scheduler callbacks, two queries answer what it cannot know, and it reports what it did
/// through hooks, all installed by the coordinator. Every operation that names an unmanaged
/// window, or a desktop outside 1 … desktop count, does nothing.
class WorkspaceStore {
  public:
    static constexpr std::size_t expectationCap = 16;
    static constexpr int maxLayoutRetries = 3;
    /// Re-applications of a pass for windows that came out larger than their slot.
    static constexpr int maxMinimumRounds = 3;
    static constexpr int minimumDesktopCount = 1;
    static constexpr int maximumDesktopCount = 9;
    /// How far a keyboard resize moves a divider, as a fraction of its split.
    static constexpr double resizeStep = 0.05;

    // Drag thresholds, in points.
    static constexpr double carrySizeTolerance = 20;
    static constexpr double carryTravel = 2;
    static constexpr double edgeStillness = 16;
    static constexpr double edgeTravel = 2;

    // Settling back from full screen.
    static constexpr double fullScreenSettleTolerance = 4;
    static constexpr int fullScreenSettleLimit = 60;

    enum class ActivationVerdict { expected, change };

    /// What the coordinator should do about a window that got the keyboard focus.
    class FocusResponse {
      public:
        enum class Kind { reassert, expected, accept, leaveParked };
        static FocusResponse reassert(WindowID w) { return FocusResponse(Kind::reassert, w); }
        static FocusResponse expected() { return FocusResponse(Kind::expected, {}); }
        static FocusResponse accept() { return FocusResponse(Kind::accept, {}); }
        static FocusResponse leaveParked() { return FocusResponse(Kind::leaveParked, {}); }
        Kind kind() const { return kind_; }
        /// The window of `reassert`.
        std::optional<WindowID> window() const { return window_; }
        bool operator==(const FocusResponse&) const = default;

      private:
        FocusResponse(Kind kind, std::optional<WindowID> window) : kind_(kind), window_(window) {}
        Kind kind_;
        std::optional<WindowID> window_;
    };

    /// Which window should take the focus after a removal.
    class SuccessorFocus {
      public:
        enum class Kind { claim, record, none };
        static SuccessorFocus claim(WindowID w) { return SuccessorFocus(Kind::claim, w); }
        static SuccessorFocus record(WindowID w) { return SuccessorFocus(Kind::record, w); }
        static SuccessorFocus none() { return SuccessorFocus(Kind::none, {}); }
        Kind kind() const { return kind_; }
        std::optional<WindowID> window() const { return window_; }
        bool operator==(const SuccessorFocus&) const = default;

      private:
        SuccessorFocus(Kind kind, std::optional<WindowID> window) : kind_(kind), window_(window) {}
        Kind kind_;
        std::optional<WindowID> window_;
    };

    /// The model itself, in the order the store declares it; what the store knows of each
    /// window is that window's record. Every map and set starts empty, every optional absent,
    /// every flag false and every counter 0.
    struct State {
        std::map<Pane, LayoutTree> trees;
        /// The keys are exactly the managed windows.
        std::map<WindowID, WindowState> windows;
        Config config;
        CGRect screen;
        std::vector<Display> displays;
        std::map<std::uint32_t, int> activeDesktopByDisplay;
        std::optional<std::uint32_t> focusedWindowDisplay;
        std::map<int, WindowID> zoomedByDesktop;
        std::set<int> showingDesktop;
        /// Oldest first, at most `expectationCap`, no two equal.
        std::vector<ExpectedFocus> expectedFocus;
        std::optional<ExpectedFocus> nativeFocus;
        std::set<std::string> parkedByLastSwitch;
        std::optional<std::string> switchFocusBundle;
        std::optional<WindowID> parkedKeyWindow;
        int retryBudget = 0;
        bool layoutScheduled = false;
        bool hasDragTarget = false;
        std::optional<std::string> ownBundleID;
        bool auditPending = false;
        std::set<std::string> userHiddenApps;
        bool dragStepScheduled = false;
        int dragGeneration = 0;
        bool externalCheckScheduled = false;

        /// The managed windows, ascending, whose record satisfies `holds` (a predicate or a
        /// member of `WindowState`).
        template <class Holds>
        std::set<WindowID> windowsWhere(Holds&& holds) const {
            std::set<WindowID> ids;
            for (const auto& [w, record] : windows) {
                if (std::invoke(holds, record)) ids.insert(ids.end(), w);
            }
            return ids;
        }
    };

    /// Takes one piece of work and runs it later on the main thread.
    using Scheduler = std::function<void(std::function<void()>)>;

    /// When a scheduler is missing, the store does the work at once where it would have
    /// scheduled it.
    struct Schedulers {
        /// 0.016 s: the coalesced layout pass and the external frame check.
        Scheduler coalesce;
        /// 0.15 s: layout retries and a drag settle that waits for the mouse button.
        Scheduler scheduleRetry;
        /// 0.2 s: the drag settle.
        Scheduler scheduleDragSettle;
        /// 0.016 s: the live drag step.
        Scheduler coalesceDragStep;
    };

    struct Queries {
        /// Whether the primary mouse button is held; without it every frame change of a tiled
        /// window counts as a drag.
        std::function<bool()> isMouseButtonDown;
        /// The pointer in window-frame coordinates, or none.
        std::function<std::optional<CGPoint>()> pointerLocation;
    };

    /// Each fires synchronously inside the operation that reports it; an empty hook does
    /// nothing.
    struct Hooks {
        std::function<void(int writes, int unsettled)> onLayoutPass;
        std::function<void(const std::string& bundleID, int desktop)> onExternalUnhide;
        std::function<void(const VisibilityFinding&)> onVisibilityFinding;
        std::function<void(const ParkFinding&)> onParkFinding;
        /// A window given up on, floated and centred; `stashedOn`: the desktop the stash rule
        /// takes it to, right after, none when it stays on its own.
        std::function<void(WindowID, const std::optional<std::string>& bundleID,
                           std::optional<int> stashedOn)>
            onGaveUp;
        std::function<void(WindowID, CGSize minimum)> onFloatedForMinimum;
        std::function<void(int desktop)> onRearrangedForMinimum;
        std::function<void(int count)> onRestoredSession;
        std::function<void(const std::string& bundleID, bool hidden)> onApplicationHidden;
        std::function<void(WindowID, CGRect frame)> onExternalFrameChange;
        std::function<void(WindowID, CGSize current, CGSize slot)> onFloatedAtLaunch;
        std::function<void(WindowID, int desktop)> onStashed;
        /// Never fired by the store; the coordinator's handler adds a float rule.
        std::function<void(const std::string& bundleID)> onLearnedFloatRule;
        std::function<void(int desktop, LayoutMode)> onLayoutModeChanged;
        std::function<void(WindowID)> onAdopted;
        std::function<void(WindowID)> onDividerDragged;
        std::function<void(WindowID, CGRect frame)> onDragStep;
        std::function<void(std::optional<WindowID>, std::optional<CGRect>)> onDragTarget;
        std::function<void(int wanted, const std::string& unreadable, const std::string& abandoned)>
            onQuietPass;
        std::function<void(WindowID, CGRect want, CGRect have)> onLayoutSkip;
        std::function<void(WindowID, std::uint32_t display)> onChangedDisplay;
        std::function<void(WindowID, bool entered)> onFullScreenChanged;
        std::function<void(WindowID, WindowID other)> onRearranged;
        std::function<void(WindowID, const std::string& reason)> onDragUnresolved;
    };

    Schedulers schedulers;
    Queries queries;
    Hooks hooks;

    /// The desktop count is clamped to 1 … 9 as `apply` clamps it, so that no desktop loop or
    /// state text ever sees a count outside that range.
    WorkspaceStore(const Config& config, std::shared_ptr<WindowBridging> bridge,
                   const CGRect& screen);
    ~WorkspaceStore();
    WorkspaceStore(const WorkspaceStore&) = delete;
    WorkspaceStore& operator=(const WorkspaceStore&) = delete;

    const State& state() const { return state_; }
    const Reconciler& reconciler() const { return reconciler_; }
    WindowBridging& bridge() const { return *bridge_; }

    // ---- Configuration and displays ----------------------------------------------------

    void apply(const Config& config);
    /// True when the list differs from the current one (and was applied).
    bool displaysChanged(const std::vector<Display>& displays);
    /// True when the rectangle differs from the current screen (and was applied).
    bool screenChanged(const CGRect& screen);

    const Config& config() const { return state_.config; }
    const CGRect& screen() const { return state_.screen; }
    const std::vector<Display>& displays() const { return state_.displays; }
    int desktopCount() const;

    std::uint32_t managedDisplayID() const;
    CGRect bounds(std::uint32_t display) const;
    std::optional<std::uint32_t> pointerDisplay() const;
    std::uint32_t focusedDisplay() const;
    int activeDesktop(std::uint32_t display) const;
    int activeDesktop() const;
    void setActiveDesktop(int desktop);
    std::optional<Display> parkingDisplay() const;
    CGPoint parkingCorner() const;
    std::optional<Pane> paneKey(WindowID w) const;
    const std::optional<std::uint32_t>& focusedWindowDisplay() const {
        return state_.focusedWindowDisplay;
    }
    void setFocusedWindowDisplay(std::optional<std::uint32_t> display);
    const std::optional<std::string>& ownBundleID() const { return state_.ownBundleID; }
    void setOwnBundleID(std::optional<std::string> bundleID);

    // ---- Panes and trees -----------------------------------------------------------------

    void moveToDisplay(WindowID w, std::uint32_t display, int desktop);
    void endZoom(int desktop);
    void removeFromTree(WindowID w, int desktop);
    void insertIntoTree(WindowID w, int desktop, std::optional<WindowID> focused);
    /// The managed windows whose home is the desktop, ascending.
    std::vector<WindowID> windows(int desktop) const;
    /// Those of them that do not float.
    std::vector<WindowID> tiled(int desktop) const;

    // ---- Queries ---------------------------------------------------------------------------

    std::map<WindowID, CGRect> floatingFrames(int desktop) const;
    std::optional<int> desktop(WindowID w) const;
    std::optional<WindowID> zoomed(int desktop) const;
    std::set<int> occupiedDesktops() const;
    bool isParked(WindowID w) const;
    /// The windows the store minimized because they would not stay in the parking corner.
    std::vector<WindowID> windowsMinimizedToPark() const;
    bool isFullScreen(WindowID w) const;
    /// Whether the user hid the application (and has not shown it again since).
    bool isHiddenByUser(const std::string& bundleID) const;
    bool isShowingDesktop(int desktop) const;
    bool isDragging() const;
    bool isFloating(WindowID w) const;
    /// The two-line state text that the coordinator logs after every change.
    std::string stateDescription() const;

    // ---- Desktops, show desktop and parking ------------------------------------------------

    void switchTo(int desktop, std::optional<WindowID> focusing);
    void throwFocused(WindowID w, int desktop);
    std::vector<WindowID> visibleIntent(int desktop) const;
    void toggleShowDesktop();
    void reveal(int desktop);
    void endShowDesktopIfEmpty(int desktop);
    void applyLayoutForCommand(std::optional<WindowID> target, bool now);
    void park(const std::vector<WindowID>& ids);
    /// Returns the windows whose un-minimize was deferred to the caller.
    std::vector<WindowID> unpark(const std::vector<WindowID>& ids, bool deferringMinimized);
    void writeToCorner(WindowID w, bool reparking);
    void healPark(WindowID w);
    /// The position that keeps a window of the rectangle's size inside the screen.
    CGPoint onScreen(const CGRect& rect) const;
    /// Puts every parked window back on screen; run when the process ends.
    void restoreAll();
    /// Puts one parked window back on screen as quitting does (out of the Dock when parking
    /// minimized it, at its remembered frame kept on its display) and ends its park; for a
    /// window the store is about to let go of. Nothing for a window that is not parked.
    void putBack(WindowID w);
    void windowMinimized(WindowID w);
    void windowUnminimized(WindowID w);
    void restoredFromDock(WindowID w);

    // ---- Layout pass ---------------------------------------------------------------------

    /// Requests a pass: coalesced, with the retry budget restored.
    void applyLayout();
    void applyLayoutNow();
    /// `justRead`: windows whose minimized state the caller has just read.
    void runLayoutPass(const std::set<WindowID>& justRead);
    std::map<WindowID, CGRect> visibleLayout() const;
    std::map<WindowID, CGRect> layout(int desktop) const;
    std::map<WindowID, CGRect> layout(int desktop, const Display& display) const;
    std::map<WindowID, CGSize> paneMinimums() const;
    bool floatForMinimum(int desktop);
    void giveUp(const std::set<WindowID>& abandoned);

    // ---- Adoption and removal ------------------------------------------------------------

    void add(WindowID w, const std::string& bundleID, std::optional<WindowID> focused,
             bool floating, bool minimized);
    void adopt(const std::vector<AdoptionRecord>& records,
               const std::optional<SessionSnapshot>& restoring);
    SuccessorFocus remove(WindowID w);
    void move(WindowID w, int desktop, bool asCommand);
    void adoptOntoActiveDesktop(WindowID w);
    bool adoptOnActivation(WindowID w);
    bool bringToActiveDesktop(WindowID w);
    /// The stash desktop an untileable window of desktop `from` is tiled on instead: none when
    /// none is set, it is `from` itself, or it lies beyond the desktop count.
    std::optional<int> stashDesktopFor(int from) const;
    bool stashUntileable(WindowID w, int from);
    LayoutMode layoutMode(int desktop) const;
    void applicationTerminated(const std::string& bundleID);
    void applicationHidden(const std::string& bundleID);
    void applicationUnhidden(const std::string& bundleID);
    void unhideExternallyHiddenApps();
    void centreIfStranded(WindowID w);
    /// `read`: frames already read of some candidates (the scan's at start-up); each other
    /// frame is read once for every round, as nothing is written while the rounds run.
    std::vector<LaunchFit::Finding> oversizedAtLaunch(const std::vector<WindowID>& candidates,
                                                      const std::set<WindowID>& minimized,
                                                      const std::map<WindowID, CGRect>& read = {});

    // ---- Focus and activation --------------------------------------------------------------

    const std::vector<ExpectedFocus>& expectedFocus() const { return state_.expectedFocus; }
    const std::optional<ExpectedFocus>& nativeFocus() const { return state_.nativeFocus; }
    const std::set<std::string>& parkedByLastSwitch() const { return state_.parkedByLastSwitch; }
    void expect(const ExpectedFocus& expectation);
    void forgetExpectedWindow(WindowID w);
    void expectActivation(const std::string& bundleID);
    ActivationVerdict activationVerdict(const std::optional<std::string>& bundleID,
                                        std::optional<WindowID> window);
    std::optional<FocusResponse> focusResponse(WindowID to, std::optional<WindowID> focused);
    void issueFocus(WindowID w);
    void focusWindow(WindowID w, bool raising);
    bool revealForActivation(WindowID w);
    std::optional<WindowID> windowToFollow(const std::string& bundleID,
                                           std::optional<WindowID> focusedWindow) const;
    std::optional<int> followActivation(WindowID w);
    std::optional<WindowID> launcherTarget(const std::string& bundleID) const;
    LauncherAction launcherAction(const std::string& bundleID, bool isRunning,
                                  LauncherRequest request) const;
    std::optional<WindowID> leftmostWindow(int desktop, std::optional<std::uint32_t> display) const;
    std::optional<WindowID> leftmostWindow(int desktop) const;
    std::optional<WindowID> targetWindow(std::optional<WindowID> preferring) const;
    void raiseFloating(std::optional<WindowID> topmost);
    std::optional<WindowID> focusNeighbour(WindowID w, Direction direction) const;

    // ---- Window commands -------------------------------------------------------------------

    void moveWindow(WindowID w, Direction direction);
    void resizeWindow(WindowID w, Direction direction);
    void toggleSplit(WindowID w);
    void rotate();
    void toggleZoom(WindowID w);
    void toggleFloat(WindowID w, std::optional<WindowID> focused);
    bool canToggleFloatByClick(WindowID w) const;
    bool toggleFloatByClick(WindowID w);
    void setLayoutMode(LayoutMode mode, int desktop);
    void toggleLayoutMode();
    std::vector<WindowID> masterStackOrder(int desktop, const std::vector<WindowID>& among) const;
    void promoteToMaster(WindowID w);
    void rebalance();

    // ---- Dragging and external frame changes ---------------------------------------------

    void windowFrameChanged(WindowID w);
    bool canDrag(WindowID w) const;
    void liveDragStep();
    void settleDrag();
    void checkExternalFrames();
    std::optional<CGRect> frameBeforeDrag(WindowID w) const;
    std::optional<std::pair<WindowID, CGRect>> dropTarget(WindowID w, const CGRect& frame) const;
    bool moveDividers(WindowID w, const CGRect& frame);
    bool rearrange(WindowID w, const CGRect& droppedAt);
    /// "(minX,minY widthxheight)" with each value cut to an integer.
    static std::string brief(const CGRect& rect);

    // ---- Full screen ---------------------------------------------------------------------

    bool couldBeFullScreen(const CGRect& frame) const;
    bool fullScreenChanged(WindowID w, std::optional<CGRect> frame);
    void enterFullScreen(WindowID w, int desktop);

    // ---- Session and audit -----------------------------------------------------------------

    SessionSnapshot sessionSnapshot(double bootTime) const;
    std::set<WindowID> restore(const std::optional<SessionSnapshot>& snapshot,
                               const std::vector<AdoptionRecord>& records);
    std::vector<VisibilityFinding> auditActiveDesktop();

  private:
    /// Wraps work handed to a scheduler so that it does nothing once the store is gone.
    std::function<void()> weakly(std::function<void()> work) const;
    template <class Hook, class... Args>
    static void fire(const Hook& hook, Args&&... args) {
        if (hook) hook(std::forward<Args>(args)...);
    }

    /// The window's record; none when it is not managed.
    WindowState* stateOf(WindowID w);
    const WindowState* stateOf(WindowID w) const;
    /// The record of a window that lives on the desktop from now on: a new one when it was not
    /// managed yet.
    WindowState& manage(WindowID w, int desktop);
    /// Whether the window is managed and its record satisfies `holds` (a predicate or a member
    /// of `WindowState`).
    template <class Holds>
    bool is(WindowID w, Holds&& holds) const {
        const WindowState* record = stateOf(w);
        return record && std::invoke(holds, *record);
    }

    std::uint32_t displayOf(WindowID w) const;
    Pane paneOf(WindowID w, int desktop) const;
    LayoutTree treeOf(const Pane& pane) const;
    /// The displays a layout fills, with the managed display's frame replaced by the screen.
    std::vector<Display> layoutDisplays() const;
    /// The display holding the rectangle, falling back to the managed display.
    std::optional<std::uint32_t> displayHolding(const CGRect& rect) const;
    /// Window numbers ascending, separated by single spaces, as the state text and the quiet-pass
    /// report write them.
    static std::string spacedIDs(const std::set<WindowID>& ids);
    void pinToManagedDisplay();
    void reclassifyDisplays();
    CGRect centredOnScreen(const CGSize& size) const;
    void floatAndCentre(WindowID w);

    // The layout pass, step by step.
    void dropMinimizedFromTarget(std::map<WindowID, CGRect>& target,
                                 const std::set<WindowID>& justRead);
    void reapplyForMinimums(const std::map<WindowID, CGRect>& target, std::set<WindowID>& retry,
                            int& writes, std::map<WindowID, CGRect>& previous, bool& reapplied);
    void reportQuietPass(std::size_t wanted);
    /// The windows the reconciler found minimized in its last call go to the Dock.
    void putMinimizedInTheDock();
    void settleExemptions(const std::set<WindowID>& retry);
    void scheduleSettle(int generation);
    bool settleFromFullScreen(WindowID w);

    // Adoption, removal and window commands.
    /// After fewer desktops: every display showing one beyond the count shows the last.
    void showLastDesktopBeyond(int count);
    /// The frame as the record has it from the scan, else as read now.
    void assignDisplayFromFrame(WindowID w, std::optional<CGRect> scanned = std::nullopt);
    void adoptRestored(const AdoptionRecord& record, int active, std::vector<WindowID>& unminimize);
    void adoptUnrestored(const AdoptionRecord& record, int active, std::vector<WindowID>& tiling,
                         std::vector<WindowID>& unminimize);
    void fitAtLaunch(std::vector<WindowID>& tiling, const std::vector<WindowID>& unminimize,
                     int active, const std::map<WindowID, CGRect>& scanned);
    void placeAdopted(const std::vector<WindowID>& tiling, int active);
    /// Among the candidates with a frame in `frames` (the minimized and unreadable have none).
    std::optional<LaunchFit::Finding> mostOversized(const std::vector<WindowID>& candidates,
                                                    const std::map<WindowID, CGRect>& frames);
    /// Drops every per-window entry of a window that is no longer managed.
    void purge(WindowID w);
    /// The windows grouped by the display they live on, each group in the list's order.
    std::map<std::uint32_t, std::vector<WindowID>> byDisplay(const std::vector<WindowID>& ws) const;
    /// A fresh tree of the windows in the pane's desktop mode: main-and-stack, or a grid.
    LayoutTree arranged(const Pane& pane, const std::vector<WindowID>& ws) const;
    /// Replaces each display's pane of the desktop by a fresh tree of its own windows.
    void rebuildPanes(int desktop, const std::vector<WindowID>& ws);
    /// The tiled windows of the desktop that a rebuilt tree holds.
    std::vector<WindowID> rebuildable(int desktop) const;
    std::vector<WindowID> masterStackOrder(const Pane& pane,
                                           const std::vector<WindowID>& among) const;
    /// Changes the tree of the window's pane, if it has one; false when the window is unmanaged.
    bool changeTree(WindowID w, const std::function<void(LayoutTree&)>& change);

    // Dragging, external frame changes and full screen.
    /// No display reaches this far: a frame beyond it is garbage read from an application.
    static constexpr double largestPlausibleCoordinate = 1e6;
    /// Finite and within `largestPlausibleCoordinate` in every component.
    static bool isPlausibleFrame(const CGRect& frame);
    /// Overlaps an attached display (or, with none attached, the screen) with positive area.
    bool liesOnADisplay(const CGRect& frame) const;
    bool isMouseButtonHeld() const;
    /// The windows whose drag flag is set, ascending, with the flag cleared on each of them.
    std::set<WindowID> takeWindows(bool WindowState::*flag);
    /// The frame of a window that can be dragged, when the reconciler knows the window and did
    /// not place that frame itself.
    std::optional<CGRect> draggedFrame(WindowID w);
    /// Hands `step` to `coalesceDragStep` once per turn, or runs it at once without it.
    void queueDragStep(bool& queued, void (WorkspaceStore::*step)());
    /// The first-match rules of a settle for one window; true when it counts as moved.
    bool settleDraggedWindow(WindowID w, const CGRect& frame);
    void reportUnresolved(WindowID w, const std::optional<CGRect>& before, const CGRect& frame);
    void hideDropTarget();
    void leaveFullScreen(WindowID w);
    static bool isLeafOf(const LayoutTree& tree, WindowID w);

    // Desktop switching, show desktop and parking.
    /// The visible intent less the windows whose display shows another desktop.
    std::vector<WindowID> shownIntent(int desktop) const;
    void focusAfterSwitch(int desktop, std::uint32_t display, std::optional<WindowID> focusing,
                          std::set<std::string> parkedApps);
    /// Ends show desktop's park of a desktop that is shown.
    void bringBackShown(int desktop);
    std::optional<CGRect> frameToRemember(WindowID w);
    /// Un-minimizes a window and exempts it from strikes for the coming burst.
    void bringOutOfDock(WindowID w);

    // Focus and activation.
    bool consumeExpectations(const std::string& bundleID);
    bool isShownOnActiveDesktop(WindowID w) const;
    std::optional<std::string> bundleOf(WindowID w) const;
    /// The managed windows of an application with their desktops.
    std::map<WindowID, int> windowsOf(const std::string& bundleID) const;

    // The visibility audit.
    /// What one audit has learnt so far: each application's hidden state, asked once.
    struct AuditPass {
        std::map<std::string, bool> hidden;
        std::set<WindowID> retained;
    };
    WindowVisibility visibilityOf(WindowID w, const std::string& bundle,
                                  const std::map<WindowID, CGRect>& visible, AuditPass& pass);
    VisibilityRepair repairInvisible(WindowID w, const std::string& bundle, InvisibleReason reason,
                                     AuditPass& pass);
    VisibilityRepair rearm(WindowID w);

    std::shared_ptr<WindowBridging> bridge_;
    Reconciler reconciler_;
    State state_;
    /// Held weakly by the work the store hands to its schedulers.
    std::shared_ptr<int> liveness_ = std::make_shared<int>(0);
};

}  // namespace kelvo
