#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Coordinator/MadeByStartup.h"
#include "KelvoApp/Coordinator/SaveFailureLog.h"
#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "KelvoApp/Services/Overlays/DesktopModel.h"
#include "KelvoApp/Services/Overlays/MenuBarController.h"
#include "KelvoApp/Services/Overlays/SwitchHUD.h"
#include "KelvoApp/Services/Windows/GuideWindowController.h"
#include "KelvoApp/Services/Windows/SettingsWindowController.h"
#include "KelvoApp/Updates/Updates.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/OwnWindowDesktop.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class StoreWiring;
class ConfigurationChanges;

/// The system's own windows and panels: the status item and its model, the desktop-switch
/// display, the cheat sheet, the settings window and the guide (each belonging to the desktop
/// it was opened on), the update checker and the application's presence in the Dock. The
/// rest of the coordinator reaches them only through the operations here.
class OwnWindows {
  public:
    /// What the own windows ask of the rest of the coordinator.
    struct Callbacks {
        /// The status menu's Quit.
        std::function<void()> quit;
    };

    OwnWindows(const CoordinatorProcess& process, const ProcessLog& log, StoreWiring& wiring,
               const ConfigurationChanges& configuration, Callbacks callbacks);
    ~OwnWindows();
    OwnWindows(const OwnWindows&) = delete;
    OwnWindows& operator=(const OwnWindows&) = delete;

    /// The status item, the panels and the own windows, with their callbacks.
    void make();
    /// A shortcut recording in the settings window suspends and resumes the keys through this.
    void onShortcutRecording(std::function<void(bool)> suspendKeys);
    /// The settings window takes a configuration changed elsewhere.
    void adoptConfiguration(const Config& next);

    void showSettings();
    void showGuide();
    /// Hides the own windows of other desktops and shows those of the active one again.
    void syncOwnWindows();
    /// Whether the settings window or the guide is shown with the keyboard.
    bool ownWindowHasKeyboard() const;
    /// Logs the configuration's newest save when it failed; nothing before `make`.
    void reportSaveFailure();

    /// The status item's tiles and layout mark for the active desktop.
    void desktopRefresh();
    void setFocusedApp(const std::optional<std::string>& name);
    void setDesktopCount(int count);
    void setShowsName(bool shows);
    /// Flashes a desktop's tile.
    void flash(int desktop);
    /// The desktop-switch display, when the configuration shows it.
    void showSwitchDisplay(int desktop);
    void toggleCheatsheet();
    /// Whether the cheat sheet is on screen, from what this process knows.
    bool cheatsheetShown() const;
    /// Escape, heard by the key tap since the sheet never takes the keyboard, puts it away.
    void putAwayCheatsheet();
    /// The desktop-switch display's window-server number, which hit tests look through.
    long switchDisplayWindowNumber() const;
    /// The chord of the cheat sheet's shortcut, as the status menu shows it.
    std::string shortcutsChord() const;
    /// The status item's frame, or none while it has no place on screen.
    std::optional<CGRect> statusItemAnchor() const;

    // What a suite drives and reads as the user would.
    MenuBarController& statusItem() const {
        return madeByStartup(menuBar_, "OwnWindows::statusItem");
    }
    const DesktopModel& desktopModel() const {
        return madeByStartup(desktopModel_, "OwnWindows::desktopModel");
    }
    SwitchHUD& switchDisplay() const { return madeByStartup(hud_, "OwnWindows::switchDisplay"); }
    CheatsheetPanelController& cheatsheet() const {
        return madeByStartup(cheatsheet_, "OwnWindows::cheatsheet");
    }
    SettingsWindowController& settingsWindow() const {
        return madeByStartup(settingsWindow_, "OwnWindows::settingsWindow");
    }
    GuideWindowController& guideWindow() const {
        return madeByStartup(guideWindow_, "OwnWindows::guideWindow");
    }
    AppPresence& presence() const { return madeByStartup(presence_, "OwnWindows::presence"); }
    const OwnWindowDesktop& settingsDesktop() const { return settingsDesktop_; }

  private:
    void makeOwnWindows();
    void makeStatusItem();
    void wireOwnWindows();
    template <class Controller>
    void syncOwnWindow(OwnWindowDesktop& desktop, Controller& controller, const std::string& what,
                       bool endsRecording);

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    Callbacks callbacks_;

    std::unique_ptr<DesktopModel> desktopModel_;
    std::unique_ptr<Updates> updates_;
    std::unique_ptr<SettingsWindowController> settingsWindow_;
    std::unique_ptr<SaveFailureLog> saveFailures_;
    std::unique_ptr<GuideWindowController> guideWindow_;
    std::unique_ptr<MenuBarController> menuBar_;
    std::unique_ptr<SwitchHUD> hud_;
    std::unique_ptr<CheatsheetPanelController> cheatsheet_;
    OwnWindowDesktop settingsDesktop_;
    OwnWindowDesktop guideDesktop_;
    /// Whether the application shows in the Dock: while one of its own windows is open.
    std::unique_ptr<AppPresence> presence_;
};

}  // namespace kelvo
