#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Services/DesktopModel.h"
#include "KelvoApp/Services/RequestLog.h"

namespace kelvo {

/// The status item with one tile per desktop and its menu. Until its drawing is built it keeps
/// the model up to date and records what it is asked; it draws nothing.
class MenuBarController {
  public:
    struct Callbacks {
        std::function<void()> onSettings;
        std::function<void()> onGuide;
        std::function<void()> onCheatsheet;
        std::function<std::string()> shortcutsChord;
        std::function<void()> onRebalance;
        std::function<void()> onQuit;
    };

    static constexpr double nameWidth = 113;
    static constexpr double bareWidth = 20;
    static constexpr double tileWidth = 15;
    static constexpr double tileSpacing = 3;
    static constexpr double trailingInset = 4;

    MenuBarController(DesktopModel& model, int desktopCount, bool showsName, Callbacks callbacks);

    void setDesktops(int active, const std::set<int>& occupied);
    void setLayoutMode(LayoutMode mode);
    void setFocusedApp(const std::optional<std::string>& name);
    void setDesktopCount(int count);
    void setShowsName(bool shows);
    void flash(int desktop);

    /// The status item's length for the model's count and name switch.
    double length() const;
    /// The frame of the window holding the status item's button, in screen coordinates.
    std::optional<CGRect> buttonWindowFrame() const { return buttonWindowFrame_; }

    const Callbacks& callbacks() const { return callbacks_; }
    const DesktopModel& model() const { return model_; }
    RequestLog log;

  private:
    DesktopModel& model_;
    Callbacks callbacks_;
    std::optional<CGRect> buttonWindowFrame_;
};

}  // namespace kelvo
