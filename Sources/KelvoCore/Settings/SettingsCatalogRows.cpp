#include "KelvoCore/Settings/SettingsCatalog.h"

namespace kelvo {

namespace {

using ID = SettingsCatalog::SettingID;
using Tab = SettingsTab;

SettingEntry row(ID id, Tab tab, const char* card, const char* title, const char* detail,
                 std::optional<std::string> more, std::vector<std::string> keywords) {
    return SettingEntry{.id = SettingsCatalog::rawValue(id),
                        .tab = tab,
                        .card = card,
                        .title = title,
                        .detail = detail,
                        .more = std::move(more),
                        .caution = std::nullopt,
                        .keywords = std::move(keywords)};
}

constexpr const char* reduceMotionCaution =
    "Some websites and apps wait for an animation to finish before they carry on. With this on "
    "those animations never run, and the page or panel can sit there doing nothing.";

}  // namespace

std::vector<SettingEntry> SettingsCatalog::makeFixedRows() {
    std::vector<SettingEntry> rows = {
        row(ID::desktopCount, Tab::general, "Desktops", "Number of desktops",
            "How many desktops the modifier keys switch between.", std::nullopt,
            {"spaces", "workspaces", "count", "how many"}),
        row(ID::switchHUD, Tab::general, "Desktops", "Desktop switch HUD",
            "A brief number on screen when you change desktop.", std::nullopt,
            {"overlay", "indicator", "animation", "popup", "notification"}),
        row(ID::followActivation, Tab::general, "Desktops", "⌘-tab changes desktop",
            "Takes you to the window rather than bringing it here.",
            "Off brings the window to your desktop instead.",
            {"cmd tab", "command tab", "app switcher", "activation"}),
        row(ID::focusedAppInMenuBar, Tab::general, "Menu bar", "Focused app in the menu bar",
            "Shown to the left of the desktop indicators.", std::nullopt,
            {"status bar", "menubar", "title", "app name"}),
        row(ID::openAtLogin, Tab::general, "Startup", "Open Kelvo at login",
            "macOS starts Kelvo when you log in.", std::nullopt,
            {"launch", "startup", "boot", "autostart", "login item"}),
        row(ID::defaultLayoutMode, Tab::tiling, "Windows", "New windows",
            "Master & stack keeps one big pane beside the rest.",
            "Split divides whichever window you are in instead. ⌥M moves the focused window into "
            "the main pane, and ⌥⇧M changes it for one desktop only.",
            {"layout", "tiling mode", "master", "stack", "bsp", "split", "arrangement"}),
        row(ID::handSetDesktops, Tab::tiling, "Windows", "Desktops set by hand",
            "These keep the layout you gave them with ⌥⇧M.", std::nullopt,
            {"per desktop", "override", "layout"}),
        row(ID::clickToFloat, Tab::tiling, "Windows", "⌥⇧-click to detach",
            "Takes a window out of the layout, or puts it back.",
            "⌥V does the same to the focused window. Off removes the mouse tap entirely rather "
            "than leaving it ignoring clicks.",
            {"float", "mouse", "drag", "detach", "untile"}),
        row(ID::innerGap, Tab::tiling, "Gaps", "Inner gap", "Space between neighbouring windows.",
            std::nullopt, {"gaps", "spacing", "padding", "margin", "gutter"}),
        row(ID::outerGap, Tab::tiling, "Gaps", "Outer gap",
            "Space between the windows and the screen edge.", std::nullopt,
            {"gaps", "spacing", "padding", "margin", "border", "screen edge"}),
        row(ID::floatRules, Tab::tiling, "Rules", "Floating",
            "Windows from these applications are left where they are, never tiled. Kelvo adds one "
            "here itself when it gives up trying to place an app's windows; remove the row to have "
            "it try again.",
            std::nullopt,
            {"rules", "exclude", "apps", "applications", "bundle id", "blacklist", "exception"}),
        row(ID::ignoreRules, Tab::tiling, "Rules", "Ignored",
            "Applications Kelvo pretends do not exist. No space is kept for them.", std::nullopt,
            {"rules", "exclude", "apps", "applications", "bundle id", "blacklist", "exception"}),
        row(ID::stashEnabled, Tab::tiling, "Rules", "Stash them on a desktop",
            "Send them to the desktop below, out of the way.",
            "Off, a window Kelvo gives up on floats where it is.",
            {"rules", "hide", "park", "banish"}),
        row(ID::stashDesktop, Tab::tiling, "Rules", "Stash desktop",
            "Where those windows are sent.", std::nullopt,
            {"rules", "hide", "park", "which desktop"}),
        row(ID::focusBorder, Tab::focus, "Focus border", "Focus border",
            "An outline around the focused window.", std::nullopt,
            {"highlight", "active window", "outline", "ring", "indicator"}),
        row(ID::focusBorderColour, Tab::focus, "Focus border", "Border colour",
            "Written to the file as a hex value.", std::nullopt,
            {"color", "colour", "hex", "highlight", "outline", "tint"}),
        row(ID::focusBorderOpacity, Tab::focus, "Focus border", "Border opacity",
            "How strongly the outline reads.", std::nullopt,
            {"alpha", "transparency", "translucent", "fade", "strength"}),
        row(ID::focusBorderRadius, Tab::focus, "Focus border", "Border radius",
            "The default matches macOS window corners.",
            "An application that draws its own chrome may want more or less.",
            {"corner", "rounded", "curve"}),
        row(ID::focusBorderForeignFront, Tab::focus, "Focus border",
            "Hide when another app is front", "For an app Kelvo manages no window of.",
            "Off by default. The border otherwise stays on the last window Kelvo focused, so "
            "launching an app does not take it away.",
            {"foreign", "unmanaged", "disappear", "vanish", "stand down", "goes away", "missing"}),
        row(ID::focusFollowsCursor, Tab::focus, "Pointer", "Focus follows cursor",
            "Hovering a window focuses it, without clicking.", std::nullopt,
            {"mouse", "pointer", "hover", "sloppy focus", "autofocus"}),
        row(ID::focusFollowsCursorDelay, Tab::focus, "Pointer", "Dwell before focusing",
            "How long the pointer must rest first. 0 is instant.",
            "Without a dwell, reaching for the menu bar focuses every window on the way and "
            "replaces the menus before you arrive.",
            {"delay", "mouse", "pointer", "hover", "timeout", "milliseconds"}),
        row(ID::primaryModifier, Tab::shortcuts, "Modifier", "Primary modifier",
            "Held for every Kelvo shortcut.", "Changing it rebuilds the whole keymap.",
            {"option", "alt", "control", "ctrl", "meta", "hotkey", "keybinding"}),
        row(ID::resetShortcuts, Tab::shortcuts, "Shortcuts", "Reset every shortcut",
            "Back to the keys Kelvo ships with.", "Including any you unbound.",
            {"default", "restore", "keybindings", "keymap", "undo"}),
        row(ID::showLauncher, Tab::launcher, "Launcher", "Application launcher",
            "⌥Space goes to an app's window, or launches it.",
            "Off gives ⌥Space back to your applications.",
            {"spotlight", "alfred", "raycast", "open app", "switcher", "quick open"}),
        row(ID::launcherVimMode, Tab::launcher, "Launcher", "Launcher vim mode",
            "esc leaves the field: j/k move, i types, esc closes.",
            "g and G jump to the first and last result. With this on the panel opens in normal "
            "mode.",
            {"vim", "modal", "hjkl", "normal mode", "keyboard"}),
        row(ID::terminal, Tab::launcher, "Terminal", "Terminal", "What ⌥↩ opens.", std::nullopt,
            {"iterm", "kitty", "alacritty", "wezterm", "ghostty", "shell", "console"}),
        row(ID::reduceMotion, Tab::system, "System", "Reduce Motion",
            "Removes the Space-change animation.",
            "The animation Kelvo's ⌥1 – 9 triggers. macOS protects this setting, so it is yours to "
            "flip, not Kelvo's.",
            {"animation", "accessibility", "spaces", "switch", "macos", "transition"}),
        row(ID::revertTweaks, Tab::system, "System", "Revert all system tweaks",
            "Puts every key above back exactly as Kelvo found it.",
            "Deleting the ones that were not set before. Kelvo has no uninstaller, so this is it: "
            "use it before you delete the app.",
            {"undo", "restore", "uninstall", "defaults", "macos"}),
        row(ID::version, Tab::about, "Kelvo", "Version", "Which build of Kelvo this is.",
            std::nullopt, {"build", "release", "about", "update"}),
        row(ID::checkForUpdates, Tab::about, "Kelvo", "Check for updates",
            "Kelvo never checks unless you say it may.",
            "Updates are signed, and one that does not verify is refused - so a download host that "
            "has been tampered with cannot ship you anything. Kelvo asks once whether it may check "
            "on its own; answer no and it never contacts anything unless you press this.",
            {"update", "upgrade", "version", "new", "download", "sparkle"}),
        row(ID::guide, Tab::about, "Kelvo", "Guide",
            "The five screens Kelvo shows the first time it runs.",
            "Reopening it changes nothing you have already set: every screen shows what is true "
            "now, and the macOS settings on it stay off unless you turn one on.",
            {"onboarding", "tour", "walkthrough", "welcome", "first run", "getting started",
             "setup", "intro", "help"}),
        row(ID::settingsFileLocation, Tab::about, "Settings file", "Location",
            "Where your settings are kept, saved as you change them.",
            "Every setting in this window is a line in that file. It stays hand-editable, and "
            "nothing here lives anywhere else.",
            {"config", "json", "file", "path", "finder", "dotfile"}),
        row(ID::exportSettings, Tab::about, "Settings file", "Export",
            "Saves your settings to a file you can carry elsewhere.",
            "The system tweaks and the launcher's history are left out: they describe this "
            "machine, not your preferences.",
            {"backup", "save", "share", "config", "json", "migrate"}),
        row(ID::importSettings, Tab::about, "Settings file", "Import",
            "Replaces every setting with the ones in a file.",
            "A file that is not Kelvo's is refused whole, and nothing is half-applied.",
            {"restore", "load", "config", "json", "migrate"}),
        row(ID::restoreDefaults, Tab::about, "Settings file", "Restore defaults",
            "Puts every setting on every tab back to Kelvo's defaults.", std::nullopt,
            {"reset", "factory", "wipe", "start again"}),
        row(ID::logFile, Tab::about, "Diagnostics", "Log file",
            "If a window goes missing, this says which and why.",
            "Kelvo records what it does to your windows in ~/Library/Logs/Kelvo/kelvo.log, always. "
            "It rotates, so it never grows without bound.",
            {"logs", "debug", "diagnostics", "troubleshoot", "report", "bug"}),
        row(ID::reportProblem, Tab::about, "Diagnostics", "Report a problem",
            "Saves a report to your Desktop you can send on.",
            "A folder holding Kelvo's log, its settings and any crash reports macOS has written "
            "for it. Nothing is sent anywhere - it is written to your Desktop for you to look at "
            "and attach where you like.",
            {"bug", "crash", "diagnostics", "support", "log", "report", "problem"}),
    };
    rows[static_cast<std::size_t>(ID::reduceMotion)].caution = reduceMotionCaution;
    return rows;
}

}  // namespace kelvo
