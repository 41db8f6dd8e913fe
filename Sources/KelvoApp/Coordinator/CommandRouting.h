#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Coordinator/LaterWork.h"
#include "KelvoApp/Coordinator/MadeByStartup.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Keys/Command.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class StoreWiring;
class ConfigurationChanges;
class Focus;
class OwnWindows;

/// The keys and what they do: the hotkey service with the key map of the configuration it
/// was armed with, the command dispatcher that carries out every command from the key tap or
/// the test mode, and the modifier-click that floats or tiles the window under the pointer.
class CommandRouting {
  public:
    /// What the commands ask of the border and the launcher.
    struct Callbacks {
        std::function<void()> hideBorder;
        /// The border panel's window-server number, which hit tests look through.
        std::function<long()> borderWindowNumber;
        std::function<void()> toggleLauncher;
    };

    CommandRouting(const CoordinatorProcess& process, const ProcessLog& log,
                   const WindowNames& names, StoreWiring& wiring,
                   const ConfigurationChanges& configuration, Focus& focus, OwnWindows& ownWindows,
                   Callbacks callbacks);
    ~CommandRouting();
    CommandRouting(const CommandRouting&) = delete;
    CommandRouting& operator=(const CommandRouting&) = delete;

    /// The key map of the configuration and the key tap; false when the tap cannot be made.
    bool armKeys();
    /// The key tap again for a changed configuration; keeps the old one when no new tap can
    /// be made.
    void rearmKeys(const Config& next);
    /// The modifier-click goes to the window under the pointer, this process's windows aside.
    void bindModifierClick(int ownPID);
    /// Starts the modifier-click's mouse tap; logs and leaves the binding off when it cannot.
    void startClickBinding();
    void stopClickBinding();
    /// Drops the taps as the coordinator goes.
    void release();

    /// Carries out a command and logs the state after it.
    void dispatch(const Command& command);
    /// The window a command acts on, focusing it when the focus strayed.
    std::optional<WindowID> currentTarget();
    /// While a shortcut is being recorded the keys do nothing.
    void setRecordingShortcut(bool recording);
    bool recordingShortcut() const { return recordingShortcut_; }
    /// True when the click is consumed.
    bool modifierClick(CGPoint location);

    /// The hotkey service, which the test mode drives as a shortcut would.
    HotkeyService& hotkeys() const { return madeByStartup(hotkeys_, "CommandRouting::hotkeys"); }

  private:
    void carryOut(const Command& command);
    void switchTo(const Command& command);
    void throwTo(const Command& command);
    void focus(const Command& command);
    void moveWindow(const Command& command);
    void resize(const Command& command);
    void toggleZoom(const Command& command);
    void toggleFloat(const Command& command);
    void closeWindow(const Command& command);
    void newTerminal(const Command& command);
    void rebalance(const Command& command);
    void toggleSplit(const Command& command);
    void rotate(const Command& command);
    void launcher(const Command& command);
    void promoteToMaster(const Command& command);
    void toggleLayoutMode(const Command& command);
    void showDesktop(const Command& command);
    void cheatsheet(const Command& command);
    void log(const std::string& message) const;
    std::string named(WindowID id) const;

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    const WindowNames& names_;
    StoreWiring& wiring_;
    const ConfigurationChanges& configuration_;
    Focus& focus_;
    OwnWindows& ownWindows_;
    Callbacks callbacks_;

    std::unique_ptr<HotkeyService> hotkeys_;
    /// The configuration whose key map the key tap uses.
    Config armedConfig_;
    bool recordingShortcut_ = false;
    int ownPID_ = 0;
    LaterWork later_;
};

}  // namespace kelvo
