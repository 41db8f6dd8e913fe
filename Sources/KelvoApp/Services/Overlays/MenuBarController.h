#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Base/Foundation/DispatchWorkItem.h"
#include "Base/Foundation/NSObject.h"
#include "KelvoApp/Services/Overlays/DesktopModel.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSStatusBar.h"
#include "Platform/QuartzCore/CAAnimation.h"

namespace kelvo {

/// The status item: one tile per desktop, the active one filled, a mark of its layout mode and
/// optionally the focused application's name. A right or Control click opens its menu. It owns
/// the item, the menu and the callbacks for the life of the process; the model is shared with
/// the coordinator, which feeds it through the setters.
class MenuBarController : public NSObject, public NSMenuDelegate {
  public:
    struct Callbacks {
        std::function<void()> onSettings;
        std::function<void()> onGuide;
        std::function<void()> onCheatsheet;
        /// The key caps of the cheat-sheet shortcut, or an empty string.
        std::function<std::string()> shortcutsChord;
        std::function<void()> onRebalance;
        std::function<void()> onQuit;
    };

    /// The button sends its action on left-mouse-up and right-mouse-up.
    static constexpr NSEventMask clickMask = 20;
    /// The flash: the tile drawn as active at once, then each step's state at its delay.
    struct FlashStep {
        double delay;
        bool lit;
    };
    static constexpr FlashStep flashTimetable[] = {{0.16, false}, {0.32, true}, {0.48, false}};

    MenuBarController(DesktopModel& model, int count, bool showName, Callbacks callbacks);
    ~MenuBarController() override;

    void setDesktops(int active, const std::set<int>& occupied);
    void setLayoutMode(LayoutMode mode);
    /// An empty name counts as none.
    void setFocusedApp(const std::optional<std::string>& name);
    void setDesktopCount(int count);
    void setShowsName(bool shows);
    /// Blinks a desktop's tile; a new flash cancels what is left of the previous one.
    void flash(int desktop);
    /// Redraws the image, the length, the tooltip and the accessibility label from the model.
    void apply();

    // The menu's delegate.
    void menuNeedsUpdate(NSMenu& menu) override;
    void menuDidClose(NSMenu& menu) override;
    /// The actions of the button and the menu's entries.
    bool performAction(const std::string& selector, const void* sender) override;

    /// The frame of the window holding the item's button, in screen coordinates.
    std::optional<CGRect> buttonWindowFrame() const;

    const NSStatusItemRef& item() const { return item_; }
    const NSMenuRef& menu() const { return menu_; }
    const DesktopModel& model() const { return model_; }
    const Callbacks& callbacks() const { return callbacks_; }

    /// The layer actions that keep the button from animating anything implicitly, made once.
    static const std::map<std::string, CAAnimationRef>& noImplicitAnimations();
    /// The tooltip for a desktop of that layout mode.
    static std::string toolTip(LayoutMode mode);
    /// "Kelvo - desktop N of M", with M at least 1.
    static std::string accessibilityLabel(int active, int count);

  private:
    void buildMenu();
    void setUpButton();
    /// Opens the menu on a right click or a Control click.
    void clicked();
    void showShortcutsChord();

    NSStatusItemRef item_;
    DesktopModel& model_;
    std::vector<DispatchWorkItem> flashSteps_;
    NSMenuRef menu_;
    std::shared_ptr<NSMenuItem> shortcutsItem_;
    Callbacks callbacks_;
    /// Held by the controller only: deferred steps that outlive it do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo
