#pragma once

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/NSNotificationCenter.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/Sparkle/SPUStandardUpdaterController.h"

namespace kelvo {

/// The holder of the updater, one for the life of the process. It makes the updater at most
/// once and only when the program runs from an application bundle (never from a build folder),
/// lets the About page ask for a check now, and puts the updater's own windows at a fixed place
/// on the screen under the pointer instead of wherever they were last left. Main thread only.
class Updates {
  public:
    /// The bundle's path extension that marks an installed application.
    static constexpr std::string_view applicationExtension = ".app";
    /// The updater saves its windows' frames in the user defaults under keys beginning so.
    static constexpr std::string_view savedFramePrefix = "NSWindow Frame SU";
    /// The updater's windows belong to controllers whose type names begin so.
    static constexpr std::array<std::string_view, 2> controllerPrefixes = {"SU", "SPU"};
    /// A placed window's top stands this fraction of the visible height below the top.
    static constexpr double topMarginFraction = 0.2;

    Updates();
    ~Updates();
    Updates(const Updates&) = delete;
    Updates& operator=(const Updates&) = delete;

    /// Runs once: makes the updater, which starts checking on its own schedule, when the main
    /// bundle is an application; otherwise there is no updater for good.
    void start();
    /// A check the user asked for: starts first when that has not happened, then asks the
    /// updater, if there is one, to check with its own windows.
    void checkNow();

    /// None until started, and for good outside an application bundle.
    SPUStandardUpdaterController* controller() const { return controller_.get(); }
    bool started() const { return started_; }
    const std::optional<NSNotificationToken>& updateObserver() const { return updateObserver_; }
    /// The updater windows already placed and still open.
    const std::set<const NSWindow*>& placed() const { return placed_; }

    /// Where a window of `size` goes on a screen with `visibleFrame`: centred across, its top a
    /// fifth of the visible height below the visible top, never below the visible bottom.
    static CGPoint placementOrigin(const CGRect& visibleFrame, const CGSize& size);
    /// Whether a window controller's type name is one of the updater's.
    static bool isUpdaterController(std::string_view typeName);

  private:
    void placeSparkleWindows();
    void placeNewSparkleWindows();

    std::unique_ptr<SPUStandardUpdaterController> controller_;
    bool started_ = false;
    std::optional<NSNotificationToken> updateObserver_;
    std::set<const NSWindow*> placed_;
    /// Dropped with the holder, so that an update already queued finds no one to place for.
    std::shared_ptr<Updates*> self_;
};

}  // namespace kelvo
