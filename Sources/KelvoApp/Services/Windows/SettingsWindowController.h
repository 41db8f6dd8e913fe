#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "KelvoApp/Settings/SettingsModel.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/NSHostingView.h"

namespace kelvo {

class AppPresence;
class ConfigStore;

/// The settings window and the model behind it. The window is built on the first `show` and
/// kept, hidden, when the user closes it; the model lives as long as the controller. As the
/// window's delegate it ends a shortcut recording whenever the window closes or stops being
/// the key window.
class SettingsWindowController : public NSWindowDelegate {
  public:
    static constexpr CGFloat width = 696;
    static constexpr CGFloat minimumWidth = 656;
    static constexpr CGFloat minimumHeight = 520;
    static constexpr CGFloat maximumHeight = 820;
    /// The height without a main screen.
    static constexpr CGFloat heightWithoutScreen = 780;
    /// How much of the main screen's visible height the window leaves free.
    static constexpr CGFloat screenMargin = 40;
    static constexpr NSWindowLevel level = 4;
    static constexpr const char* title = "Kelvo Settings";

    /// `logURL` is the log the process writes.
    SettingsWindowController(ConfigStore& store, const std::filesystem::path& logURL);
    ~SettingsWindowController() override;
    SettingsWindowController(const SettingsWindowController&) = delete;
    SettingsWindowController& operator=(const SettingsWindowController&) = delete;

    /// Refreshes the model and brings the window to the front, building it on first use.
    void show();
    /// Closes the window as its close button does.
    void close();
    /// Hides the window while its desktop is not shown, and shows it again.
    void orderOut();
    void orderFront();
    /// Whether the window is shown and has the keyboard.
    bool isKey() const { return window && window->isVisible() && window->isKeyWindow(); }
    /// Whether the window is open: shown since the last close (also while its desktop is
    /// hidden).
    bool isOpen() const { return open_; }

    /// The window's height for a main screen's visible height (none: no screen).
    static CGFloat height(std::optional<CGFloat> visibleHeight);

    void windowWillClose(NSWindow& window) override;
    void windowDidResignKey(NSWindow& window) override;

    /// The one store of the process.
    ConfigStore& store;
    SettingsModel model;
    /// None until the first `show`.
    std::shared_ptr<NSWindow> window;
    /// Called after the window closed.
    std::function<void()> onClose;
    /// Told when the window opens and closes, so the application shows in the Dock meanwhile.
    AppPresence* presence = nullptr;

  private:
    void buildWindow();

    std::shared_ptr<SwiftUI::NSHostingView> host_;
    bool open_ = false;
};

}  // namespace kelvo
