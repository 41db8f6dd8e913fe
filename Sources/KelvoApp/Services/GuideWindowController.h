#pragma once

#include <functional>
#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoApp/Services/RequestLog.h"

namespace kelvo {

class AppPresence;

class SettingsModel;

/// The guide's model as the coordinator wires it.
struct GuideModel {
    std::function<void()> onOpenSettings;
};

/// The first-run guide. Until its flow and views are built it keeps a window that is made on
/// the first `show` and asks the anchor where the status item is; it draws nothing.
class GuideWindowController {
  public:
    explicit GuideWindowController(SettingsModel& settings) : settings_(settings) {}

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
    std::function<std::optional<CGRect>()> anchor;
    std::optional<OwnPanel> window;
    GuideModel model;
    RequestLog log;
    SettingsModel& settings() const { return settings_; }

  private:
    SettingsModel& settings_;
};

}  // namespace kelvo
