#pragma once

#include <functional>
#include <optional>

#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoApp/Services/RequestLog.h"
#include "KelvoCore/Config/Config.h"

namespace kelvo {

class AppPresence;

class ConfigStore;
class Updates;

/// The settings model as the coordinator feeds it.
class SettingsModel {
  public:
    explicit SettingsModel(const Config& config) : config(config) {}

    /// A configuration changed elsewhere: published without writing it back.
    void adopt(const Config& changed);
    /// Ends a shortcut recording in progress and, when asked, resumes the hot keys.
    void endRecording(bool resumeHotkeys);
    /// Starts a shortcut recording: the hot keys are suspended while it lasts.
    void beginRecording();

    Config config;
    bool recording = false;
    Updates* updates = nullptr;
    std::function<void()> openGuide;
    std::function<void(bool)> setHotkeysSuspended;
    RequestLog log;
};

/// The settings window. Until its views are built it keeps the model and a window that is
/// made on the first `show` and ordered front and out; it draws nothing.
class SettingsWindowController {
  public:
    explicit SettingsWindowController(ConfigStore& store);

    void show();
    /// The user closed the window.
    void close();
    /// Hides a window made before while its desktop is not shown, and shows it again.
    void orderOut();
    void orderFront();
    /// Whether the window is shown and has the keyboard.
    bool isKey() const { return window && window->visible && window->key; }

    std::function<void()> onClose;
    /// Told when the window opens and closes, so the application shows in the Dock meanwhile.
    AppPresence* presence = nullptr;
    std::optional<OwnPanel> window;
    SettingsModel model;
    RequestLog log;
};

}  // namespace kelvo
