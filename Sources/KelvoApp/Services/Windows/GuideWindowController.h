#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Views/Guide/GuideModel.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/NSHostingView.h"

namespace kelvo {

class AppPresence;
class SettingsModel;

/// The first-run guide's window: made on the first `show`, kept when closed and reused, placed
/// under the status item. Closing it, however it happens, records the guide as seen.
/// Main thread only.
class GuideWindowController : public NSWindowDelegate {
  public:
    static constexpr CGFloat width = 620;
    static constexpr CGFloat minWidth = 560;
    static constexpr CGFloat minHeight = 460;
    static constexpr CGFloat maxHeight = 640;
    /// The first height when there is no screen to measure.
    static constexpr CGFloat heightWithoutScreen = 600;
    /// Kept free of the screen's visible height by the first height.
    static constexpr CGFloat openingAllowance = 40;
    /// Kept free of the screen's visible height by a fitted height.
    static constexpr CGFloat fitAllowance = 24;
    /// The cap of a fitted height when there is no screen at all.
    static constexpr CGFloat fitCapWithoutScreen = 616;
    /// Kept between the window and the menu bar and the screen's sides.
    static constexpr CGFloat screenMargin = 6;
    /// One above the floating level.
    static constexpr NSWindowLevel level = NSFloatingWindowLevel + 1;
    static constexpr const char* title = "Kelvo Guide";

    explicit GuideWindowController(SettingsModel& settings);
    ~GuideWindowController() override;
    GuideWindowController(const GuideWindowController&) = delete;
    GuideWindowController& operator=(const GuideWindowController&) = delete;

    /// Starts the guide again at its first step and brings its window to the front.
    void show();
    /// The window's close button.
    void close();
    /// Hides a window made before while its desktop is not shown, and shows it again.
    void orderOut();
    void orderFront();
    /// Whether the window is shown and has the keyboard.
    bool isKey() const;
    /// Whether the window was shown and not closed since (hidden with its desktop or not).
    bool isOpen() const { return open_; }

    void windowWillClose(NSWindow& window) override;

    GuideModel model;
    /// Made on the first `show`, never let go afterwards.
    std::unique_ptr<NSWindow> window;
    std::shared_ptr<SwiftUI::NSHostingView> hosting;
    /// Called after the window closed.
    std::function<void()> onClose;
    /// Told when the window opens and closes, so the application shows in the Dock meanwhile.
    AppPresence* presence = nullptr;
    /// Where the status item's button stands on screen, or none.
    std::function<std::optional<CGRect>()> anchor;

  private:
    void makeWindow();
    void placeUnderMenuBar();
    /// Fits the window's height to the content on the next turn of the main queue.
    void scheduleFit(CGFloat contentHeight);
    void fit(CGFloat contentHeight);

    bool open_ = false;
    /// Lets deferred work find out whether the controller still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo
