#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoApp/Applications/AppEntry.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Shortcut.h"
#include "KelvoCore/Settings/SettingEntry.h"
#include "KelvoCore/Settings/SettingsSearch.h"
#include "KelvoCore/Settings/SettingsTab.h"
#include "KelvoCore/Tweaks/SystemTweak.h"
#include "KelvoCore/Tweaks/SystemTweakService.h"
#include "Platform/Services/SMAppService.h"
#include "Platform/SwiftUI/ObservableObject.h"

class NSWindow;

namespace kelvo {

class ConfigStore;
class Updates;
class ShortcutRecorder;
class LoginItem;
class SettingsTransfer;
class AboutReadouts;
class TweakSwitches;

/// The one observable object behind the settings window (and the guide): every page reads the
/// configuration through it and writes every change through it, at once, to the store. It
/// takes configurations changed elsewhere without writing them back, and carries the window's
/// passing state: the tab, the search, the highlight of a found setting and the pages'
/// notices. Main thread only; it lives as long as the process.
class SettingsModel : public SwiftUI::ObservableObject {
  public:
    /// A request to scroll to a setting row; a new request always differs from the last one,
    /// also for the same row.
    struct Reveal {
        std::string id;
        int tick = 0;
        bool operator==(const Reveal&) const = default;
    };

    /// The settings-file card's notice.
    struct TransferNotice {
        std::string text;
        /// Shown as a failure.
        bool failed = false;
        bool operator==(const TransferNotice&) const = default;
    };

    /// One of the configuration's sets of bundle identifiers (`floatBundleIDs`,
    /// `ignoreBundleIDs`).
    using RuleList = TextSet Config::*;

    /// How long a revealed row stays highlighted.
    static constexpr double flashDuration = 1.1;
    /// How long a shortcut recording waits for a key.
    static constexpr double recordingLimit = 10;

    /// `logURL` is the log the process writes (the test folder's in test mode).
    SettingsModel(ConfigStore& store, SystemTweakService tweaks, std::filesystem::path logURL);
    ~SettingsModel() override;
    SettingsModel(const SettingsModel&) = delete;
    SettingsModel& operator=(const SettingsModel&) = delete;

    // ---- The configuration ---------------------------------------------------------------

    /// The store that owns the file.
    ConfigStore& store;
    /// True only while `adopt` publishes a configuration that came from elsewhere.
    bool applyingExternally = false;

    /// The model's copy of the whole configuration.
    const Config& config() const { return config_.get(); }
    /// Publishes `next` and, unless it came from elsewhere, hands it to the store.
    void setConfig(Config next);
    /// `setConfig` with a copy of the configuration changed by `change`: the way a control
    /// bound to one field writes.
    void updateConfig(const std::function<void(Config&)>& change);
    /// A configuration the store announced, whoever changed it; never written back.
    void adopt(const Config& changed);
    /// The guide was closed: it is not offered again.
    void markGuideSeen();

    /// Running applications the rule lists offer.
    SwiftUI::Published<std::vector<AppEntry>> runningApps{*this, {}};
    /// The configuration file exists but could not be read.
    SwiftUI::Published<bool> loadFailed{*this, false};
    /// The last save's error text.
    SwiftUI::Published<std::optional<std::string>> writeError{*this, std::nullopt};
    /// The System page's notice.
    SwiftUI::Published<std::optional<std::string>> tweakNotice{*this, std::nullopt};
    /// The System page's revert confirmation is showing.
    SwiftUI::Published<bool> confirmingRevert{*this, false};
    /// The restore-defaults confirmation is showing.
    SwiftUI::Published<bool> confirmingRestore{*this, false};

    // ---- Tabs, search and reveal ---------------------------------------------------------

    SettingsTab section() const { return section_.get(); }
    /// Selects a tab; choosing another one ends a recording and clears its notice.
    void setSection(SettingsTab tab);

    /// The search palette is open.
    SwiftUI::Published<bool> searchOpen{*this, false};
    /// The search state; the palette's keys move its selection (`search.modify`).
    SwiftUI::Published<SettingsSearch> search{*this, SettingsSearch()};
    /// The setting row highlighted now.
    SwiftUI::Published<std::optional<std::string>> flashing{*this, std::nullopt};
    /// The last request to scroll to a setting.
    SwiftUI::Published<std::optional<Reveal>> reveal{*this, std::nullopt};
    /// Counts reveal requests.
    int revealTick = 0;

    void openSearch();
    void typeSearch(const std::string& text);
    /// Opens `entry`, or the search's chosen match when none is given.
    void commitSearch(const std::optional<SettingEntry>& entry);
    void closeSearch();
    /// Scrolls to one setting row and highlights it for `flashDuration`.
    void revealSetting(const std::string& id);

    // ---- The window ------------------------------------------------------------------------

    /// The settings-file card's notice.
    SwiftUI::Published<std::optional<TransferNotice>> transferNotice{*this, std::nullopt};
    /// The configuration file's path for display, the home folder as "~".
    const std::string configPath;
    /// The configuration file.
    const std::filesystem::path configURL;
    /// The log file, which the About page reveals and the problem report copies.
    const std::filesystem::path logURL;
    /// The settings window, set by its controller; parent of the file panels.
    std::weak_ptr<NSWindow> window;
    /// Receives the content height the view measures; unset in the settings window.
    std::function<void(CGFloat)> onIdealHeight;
    /// Opens the first-run guide; installed by the coordinator.
    std::function<void()> openGuide;
    /// A content height is to be reported once more.
    bool sizingOwed = true;
    /// Applies and restores the system tweaks.
    SystemTweakService tweaks;

    // ---- Shortcut recording ----------------------------------------------------------------

    /// Suspends (true) or resumes (false) the global hot keys; installed by the coordinator
    /// once its key tap runs. Without it nothing is recorded.
    std::function<void(bool)> setHotkeysSuspended;
    /// The shortcut being recorded.
    SwiftUI::Published<std::optional<Shortcut>> recording{*this, std::nullopt};
    /// The Shortcuts page's notice (a refusal text).
    SwiftUI::Published<std::optional<std::string>> recordNotice{*this, std::nullopt};

    /// Suspends the hot keys and catches the next key-down of this application as the
    /// shortcut's chord, for at most `recordingLimit` seconds.
    void beginRecording(Shortcut shortcut);
    /// Ends a recording, if any; resumes the hot keys when asked, also when none ran.
    void endRecording(bool resumeHotkeys);
    /// The shortcut keeps no chord.
    void clearShortcut(Shortcut shortcut);
    /// The shortcut takes its default chords again.
    void resetShortcut(Shortcut shortcut);
    /// Every shortcut takes its default chords again.
    void resetAllShortcuts();

    // ---- Login item ------------------------------------------------------------------------

    /// The program runs from an application bundle.
    const bool isBundled;
    SwiftUI::Published<SMAppService::Status> loginItemStatus{*this, SMAppService::Status::notFound};
    /// The last login-item failure.
    SwiftUI::Published<std::optional<std::string>> loginItemError{*this, std::nullopt};

    /// Reads the login item's status again.
    void refreshLoginItem();
    /// Registers (true) or unregisters (false) the application as a login item.
    void setLoginItem(bool on);
    /// The login-item row's explanation.
    std::string loginItemDetail() const;
    /// The login-item row's badge.
    std::optional<std::string> loginItemBadge() const;
    /// Opens the Login Items pane of System Settings.
    void openLoginItemsSettings();

    // ---- Settings transfer -----------------------------------------------------------------

    void exportSettings();
    void importSettings();
    /// The defaults, keeping the tweak records and the launcher's recents. The page asks
    /// first, through `confirmingRestore`.
    void restoreDefaults();

    // ---- About -----------------------------------------------------------------------------

    /// The update checker; installed by the coordinator.
    Updates* updates = nullptr;

    std::string versionString() const;
    std::string buildDetail() const;
    /// The crash reports on this machine, counted on the first read and kept from then on.
    int crashCount();
    /// Shows the configuration file in the file viewer, or its folder while it does not exist.
    void revealConfigFile();
    /// The same for the log file.
    void revealLogFile();
    /// "Report a problem": the report folder on the Desktop, shown in the file viewer; none
    /// when it could not be made.
    std::optional<std::filesystem::path> reportProblem();

    // ---- System tweaks and rules -----------------------------------------------------------

    bool isOn(const SystemTweak& tweak) const;
    /// Turns a tweak on or off; the records follow the tweak service whatever the outcome.
    void set(const SystemTweak& tweak, bool on);
    void revertAllTweaks();
    /// Adds a bundle identifier, trimmed, to a rule list; a blank one is ignored.
    void add(const std::string& bundleID, RuleList list);
    /// Removes a bundle identifier exactly as given.
    void remove(const std::string& bundleID, RuleList list);

    /// A path as the window shows it: a leading home folder (followed by "/" or the end) as
    /// "~".
    static std::string displayPath(const std::string& path, const std::string& home);

  private:
    void installWriteHook();
    void resetQuery();

    SwiftUI::Published<Config> config_;
    SwiftUI::Published<SettingsTab> section_{*this, SettingsTab::general};
    std::unique_ptr<ShortcutRecorder> recorder_;
    std::unique_ptr<LoginItem> loginItem_;
    std::unique_ptr<SettingsTransfer> transfer_;
    std::unique_ptr<AboutReadouts> about_;
    std::unique_ptr<TweakSwitches> tweakSwitches_;
    /// Late work (the highlight's end, the write hook) holds this weakly.
    std::shared_ptr<SettingsModel*> alive_;
};

}  // namespace kelvo
