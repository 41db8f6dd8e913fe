#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "Base/JSON/TextSetCoding.h"
#include "KelvoCore/Keys/Modifier.h"
#include "KelvoCore/Keys/ShortcutOverrides.h"
#include "KelvoCore/Layout/DesktopLayoutModes.h"
#include "KelvoCore/Layout/Gaps.h"
#include "KelvoCore/Layout/LayoutMode.h"
#include "KelvoCore/Tweaks/SystemTweakRecord.h"

namespace kelvo {

/// The whole user configuration: one value, copied by whoever needs it, stored as one JSON
/// object. A default-made record holds every default.
///
/// Making a record through the full constructor, and reading one, limits the gaps, the pointer
/// dwell, the border opacity and corner radius, and cleans the launcher recents; assigning a
/// field afterwards stores it as given.
struct Config {
    static constexpr double defaultFocusBorderOpacity = 0.35;
    static constexpr double defaultFocusBorderCornerRadius = 16;
    static constexpr double maxFocusBorderCornerRadius = 32;
    static constexpr std::int64_t defaultFocusFollowsCursorDelay = 0;
    static constexpr std::int64_t maxFocusFollowsCursorDelay = 1000;
    /// The widest gap, inner or outer, in points: as far as the settings window's sliders go,
    /// and narrow enough that the outer gaps of a display leave its windows on it.
    static constexpr double maxGap = 64;

    std::int64_t desktopCount = 9;
    Gaps gaps = Gaps::none();
    TextSet floatBundleIDs;
    TextSet ignoreBundleIDs{"com.valvesoftware.steam"};
    /// The desktop that receives windows that cannot be tiled; none means none.
    std::optional<std::int64_t> stashDesktop = 9;
    LayoutMode defaultLayoutMode = LayoutMode::bsp;
    DesktopLayoutModes layoutModes = DesktopLayoutModes::none();
    bool clickToFloat = true;
    bool showSwitchHUD = true;
    Modifier primaryModifier = Modifier::option;
    ShortcutOverrides shortcuts = ShortcutOverrides::none();
    /// None: the first installed terminal of the built-in list.
    std::optional<std::string> terminalBundleID;
    bool showFocusBorder = true;
    bool focusFollowsCursor = false;
    /// Milliseconds.
    std::int64_t focusFollowsCursorDelay = defaultFocusFollowsCursorDelay;
    /// "#RRGGBB", not validated: readers turn it into a colour with HexColor::parse.
    std::string focusBorderColor = defaultFocusBorderColor();
    double focusBorderOpacity = defaultFocusBorderOpacity;
    double focusBorderCornerRadius = defaultFocusBorderCornerRadius;
    bool hideFocusBorderOnForeignFront = false;
    bool followActivationToDesktop = true;
    bool showLauncher = true;
    bool showFocusedAppName = false;
    bool launcherVimMode = false;
    /// Bundle identifiers, most recent first.
    std::vector<std::string> launcherRecents;
    /// The preference values the system tweaks replaced, by tweak identifier.
    std::map<std::string, SystemTweakRecord> systemTweaks;
    bool guideSeen = false;

    /// Every field at its default.
    Config() = default;
    /// Every field given, in field order; the clamps and the recents cleaning are applied.
    Config(std::int64_t desktopCount, Gaps gaps, TextSet floatBundleIDs, TextSet ignoreBundleIDs,
           std::optional<std::int64_t> stashDesktop, LayoutMode defaultLayoutMode,
           DesktopLayoutModes layoutModes, bool clickToFloat, bool showSwitchHUD,
           Modifier primaryModifier, ShortcutOverrides shortcuts,
           std::optional<std::string> terminalBundleID, bool showFocusBorder,
           bool focusFollowsCursor, std::int64_t focusFollowsCursorDelay,
           std::string focusBorderColor, double focusBorderOpacity, double focusBorderCornerRadius,
           bool hideFocusBorderOnForeignFront, bool followActivationToDesktop, bool showLauncher,
           bool showFocusedAppName, bool launcherVimMode, std::vector<std::string> launcherRecents,
           std::map<std::string, SystemTweakRecord> systemTweaks, bool guideSeen);

    /// The record with every field at its default, made once.
    static const Config& defaults();
    /// "#FF7A60", the brand coral.
    static const std::string& defaultFocusBorderColor();
    /// System Settings and the Finder's save dialog always float.
    static const TextSet& builtInFloatBundleIDs();
    static const TextSet& builtInIgnoreBundleIDs();
    /// ~/.config/kelvo/config.json of the current user.
    static std::filesystem::path defaultURL();

    static std::int64_t clampFocusFollowsCursorDelay(std::int64_t milliseconds);
    /// 0.35 when not finite, else limited to 0 … 1.
    static double clampOpacity(double opacity);
    /// 16 when not finite, else limited to 0 … 32.
    static double clampCornerRadius(double radius);
    /// 0 when not finite, else limited to 0 … 64.
    static double clampGap(double gap);
    /// Both gaps through clampGap.
    static Gaps clampGaps(const Gaps& gaps);

    TextSet effectiveFloatBundleIDs() const;
    TextSet effectiveIgnoreBundleIDs() const;

    /// Reads the file and decodes it. Throws FileError when the file cannot be read (code
    /// noSuchFile when it is missing) and DecodingError when it is no configuration.
    static Config load(const std::filesystem::path& path);
    /// Writes the record pretty-printed with sorted keys, replacing the file atomically; the
    /// folder must exist. Throws EncodingError (nothing is written) or FileError (the file is
    /// unchanged).
    void save(const std::filesystem::path& path) const;

    bool operator==(const Config&) const = default;
};

/// Reading follows each key's rule: a plain key with the wrong kind of value fails the whole
/// record; the tolerant keys (defaultLayoutMode, layoutModes, shortcuts, launcherRecents,
/// systemTweaks) fall back silently; missing keys and nulls take their missing-key values,
/// which are not always the defaults. Unknown keys are ignored.
template <>
struct JSONCoding<Config> {
    static JSONValue encode(const Config& config);
    static Config decode(const JSONNode& node);
};

}  // namespace kelvo
