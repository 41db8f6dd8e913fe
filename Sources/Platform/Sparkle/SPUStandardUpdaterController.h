#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/NSWindowController.h"

// Our stand-in for the updater framework the program drives. It has no feed to read, so it
// never finds an update: a check the user asks for opens the updater's status window saying
// so. Like the framework, it remembers where that window was in the user defaults when it
// closes, and opens it there again.

/// The updater behind the controller.
class SPUUpdater {
  public:
    /// Started updaters check on their own schedule; here there is nothing to fetch.
    void startUpdater() { started_ = true; }
    bool started() const { return started_; }
    bool canCheckForUpdates() const { return started_; }

  private:
    bool started_ = false;
};

/// The controller of the status window of a check the user asked for.
class SUStatusController final : public NSWindowController {
  public:
    /// The window's frame is kept under "NSWindow Frame " + this name.
    static constexpr const char* frameAutosaveName = "SUStatusFrame";
    static constexpr const char* windowTitle = "Software Update";
    static constexpr CGSize windowSize{420, 150};

    SUStatusController();
    std::string className() const override { return "SUStatusController"; }
    /// Closes the window and remembers its frame.
    void close() override;

    /// "NSWindow Frame SUStatusFrame".
    static std::string frameKey();
};

class SPUStandardUpdaterController {
  public:
    /// The delegates are not used; with `startingUpdater` the updater starts at once.
    SPUStandardUpdaterController(bool startingUpdater, const void* updaterDelegate,
                                 const void* userDriverDelegate);
    ~SPUStandardUpdaterController();
    SPUStandardUpdaterController(const SPUStandardUpdaterController&) = delete;
    SPUStandardUpdaterController& operator=(const SPUStandardUpdaterController&) = delete;

    void startUpdater() { updater_.startUpdater(); }
    SPUUpdater& updater() { return updater_; }
    /// A check the user asked for: opens a new status window, or brings the open one forward.
    /// Nothing happens while the updater has not started.
    void checkForUpdates(const void* sender);
    /// The status window's controller, null before the first check the user asked for.
    SUStatusController* statusController() const { return status_.get(); }

  private:
    SPUUpdater updater_;
    std::unique_ptr<SUStatusController> status_;
};
