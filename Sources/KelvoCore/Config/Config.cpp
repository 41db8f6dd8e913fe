#include "KelvoCore/Config/Config.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/FileSystem.h"
#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Brand/Brand.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

Config::Config(std::int64_t desktopCount, Gaps gaps, TextSet floatBundleIDs,
               TextSet ignoreBundleIDs, std::optional<std::int64_t> stashDesktop,
               LayoutMode defaultLayoutMode, DesktopLayoutModes layoutModes, bool clickToFloat,
               bool showSwitchHUD, Modifier primaryModifier, ShortcutOverrides shortcuts,
               std::optional<std::string> terminalBundleID, bool showFocusBorder,
               bool focusFollowsCursor, std::int64_t focusFollowsCursorDelay,
               std::string focusBorderColor, double focusBorderOpacity,
               double focusBorderCornerRadius, bool hideFocusBorderOnForeignFront,
               bool followActivationToDesktop, bool showLauncher, bool showFocusedAppName,
               bool launcherVimMode, std::vector<std::string> launcherRecents,
               std::map<std::string, SystemTweakRecord> systemTweaks, bool guideSeen)
    : desktopCount(desktopCount),
      gaps(clampGaps(gaps)),
      floatBundleIDs(std::move(floatBundleIDs)),
      ignoreBundleIDs(std::move(ignoreBundleIDs)),
      stashDesktop(stashDesktop),
      defaultLayoutMode(defaultLayoutMode),
      layoutModes(std::move(layoutModes)),
      clickToFloat(clickToFloat),
      showSwitchHUD(showSwitchHUD),
      primaryModifier(primaryModifier),
      shortcuts(std::move(shortcuts)),
      terminalBundleID(std::move(terminalBundleID)),
      showFocusBorder(showFocusBorder),
      focusFollowsCursor(focusFollowsCursor),
      focusFollowsCursorDelay(clampFocusFollowsCursorDelay(focusFollowsCursorDelay)),
      focusBorderColor(std::move(focusBorderColor)),
      focusBorderOpacity(clampOpacity(focusBorderOpacity)),
      focusBorderCornerRadius(clampCornerRadius(focusBorderCornerRadius)),
      hideFocusBorderOnForeignFront(hideFocusBorderOnForeignFront),
      followActivationToDesktop(followActivationToDesktop),
      showLauncher(showLauncher),
      showFocusedAppName(showFocusedAppName),
      launcherVimMode(launcherVimMode),
      launcherRecents(LauncherRecents::cleaned(launcherRecents)),
      systemTweaks(std::move(systemTweaks)),
      guideSeen(guideSeen) {}

const Config& Config::defaults() {
    static const Config value;
    return value;
}

const std::string& Config::defaultFocusBorderColor() {
    return Brand::coralHex();
}

const TextSet& Config::builtInFloatBundleIDs() {
    static const TextSet ids{"com.apple.systempreferences", "com.apple.finder.SaveDialog"};
    return ids;
}

const TextSet& Config::builtInIgnoreBundleIDs() {
    static const TextSet ids;
    return ids;
}

std::filesystem::path Config::defaultURL() {
    return homeDirectory() / ".config" / "kelvo" / "config.json";
}

std::int64_t Config::clampFocusFollowsCursorDelay(std::int64_t milliseconds) {
    return std::clamp<std::int64_t>(milliseconds, 0, maxFocusFollowsCursorDelay);
}

double Config::clampOpacity(double opacity) {
    if (!std::isfinite(opacity)) return defaultFocusBorderOpacity;
    return std::clamp(opacity, 0.0, 1.0);
}

double Config::clampCornerRadius(double radius) {
    if (!std::isfinite(radius)) return defaultFocusBorderCornerRadius;
    return std::clamp(radius, 0.0, maxFocusBorderCornerRadius);
}

double Config::clampGap(double gap) {
    if (!std::isfinite(gap)) return 0;
    return std::clamp(gap, 0.0, maxGap);
}

Gaps Config::clampGaps(const Gaps& gaps) {
    return Gaps{clampGap(gaps.inner), clampGap(gaps.outer)};
}

namespace {

TextSet unionOf(const TextSet& a, const TextSet& b) {
    TextSet result = a;
    result.insert(b.begin(), b.end());
    return result;
}

}  // namespace

TextSet Config::effectiveFloatBundleIDs() const {
    return unionOf(builtInFloatBundleIDs(), floatBundleIDs);
}

TextSet Config::effectiveIgnoreBundleIDs() const {
    return unionOf(builtInIgnoreBundleIDs(), ignoreBundleIDs);
}

Config Config::load(const std::filesystem::path& path) {
    const std::string bytes = readFile(path);
    const JSONValue document = JSONNode::parse(bytes);
    return JSONNode(document).decode<Config>();
}

void Config::save(const std::filesystem::path& path) const {
    writeAtomically(path, JSONWriter::write(encodeJSON(*this), JSONWriter::prettyPrinted()));
}

JSONValue JSONCoding<Config>::encode(const Config& c) {
    JSONValue o = JSONValue::object();
    o["desktopCount"] = c.desktopCount;
    o["gaps"] = encodeJSON(c.gaps);
    o["floatBundleIDs"] = encodeJSON(c.floatBundleIDs);
    o["ignoreBundleIDs"] = encodeJSON(c.ignoreBundleIDs);
    putIfPresent(o, "stashDesktop", c.stashDesktop);
    o["defaultLayoutMode"] = encodeJSON(c.defaultLayoutMode);
    o["layoutModes"] = encodeJSON(c.layoutModes);
    o["clickToFloat"] = c.clickToFloat;
    o["showSwitchHUD"] = c.showSwitchHUD;
    o["primaryModifier"] = encodeJSON(c.primaryModifier);
    o["shortcuts"] = encodeJSON(c.shortcuts);
    putIfPresent(o, "terminalBundleID", c.terminalBundleID);
    o["showFocusBorder"] = c.showFocusBorder;
    o["focusFollowsCursor"] = c.focusFollowsCursor;
    o["focusFollowsCursorDelay"] = c.focusFollowsCursorDelay;
    o["focusBorderColor"] = c.focusBorderColor;
    o["focusBorderOpacity"] = c.focusBorderOpacity;
    o["focusBorderCornerRadius"] = c.focusBorderCornerRadius;
    o["hideFocusBorderOnForeignFront"] = c.hideFocusBorderOnForeignFront;
    o["followActivationToDesktop"] = c.followActivationToDesktop;
    o["showLauncher"] = c.showLauncher;
    o["showFocusedAppName"] = c.showFocusedAppName;
    o["launcherVimMode"] = c.launcherVimMode;
    o["launcherRecents"] = encodeJSON(c.launcherRecents);
    o["systemTweaks"] = encodeJSON(c.systemTweaks);
    o["guideSeen"] = c.guideSeen;
    return o;
}

namespace {

/// A plain key: absent or null gives `missing`; a value of the wrong kind fails the reading.
template <class T>
T plain(const JSONNode& node, const char* key, T missing) {
    return node.decodeIfPresent<T>(key).value_or(std::move(missing));
}

/// A tolerant key: any failure at all gives `missing`, silently.
template <class T>
T tolerant(const JSONNode& node, const char* key, T missing) {
    try {
        if (auto member = node.optional(key)) return member->decode<T>();
    } catch (const DecodingError&) {
    }
    return missing;
}

std::map<std::string, SystemTweakRecord> tweakRecords(const JSONNode& node) {
    if (auto member = node.optional("systemTweaks")) {
        return JSONCoding<SystemTweakRecord>::decodeEach(*member);
    }
    return {};
}

}  // namespace

Config JSONCoding<Config>::decode(const JSONNode& n) {
    const Config& d = Config::defaults();
    // Arguments are evaluated in an unspecified order; reading each key into a local first
    // keeps the field order, so the first bad plain key is the one reported.
    auto desktopCount = plain<std::int64_t>(n, "desktopCount", d.desktopCount);
    auto gaps = plain<Gaps>(n, "gaps", Gaps::none());
    auto floatBundleIDs = plain<TextSet>(n, "floatBundleIDs", {});
    auto ignoreBundleIDs = plain<TextSet>(n, "ignoreBundleIDs", {});
    auto stashDesktop = n.decodeIfPresent<std::int64_t>("stashDesktop");
    auto defaultLayoutMode = tolerant(n, "defaultLayoutMode", LayoutMode::masterStack);
    auto layoutModes = tolerant(n, "layoutModes", DesktopLayoutModes::none());
    auto clickToFloat = plain(n, "clickToFloat", d.clickToFloat);
    auto showSwitchHUD = plain(n, "showSwitchHUD", d.showSwitchHUD);
    auto primaryModifier = plain(n, "primaryModifier", d.primaryModifier);
    auto shortcuts = tolerant(n, "shortcuts", ShortcutOverrides::none());
    auto terminalBundleID = n.decodeIfPresent<std::string>("terminalBundleID");
    auto showFocusBorder = plain(n, "showFocusBorder", d.showFocusBorder);
    auto focusFollowsCursor = plain(n, "focusFollowsCursor", d.focusFollowsCursor);
    auto focusFollowsCursorDelay = plain(n, "focusFollowsCursorDelay", d.focusFollowsCursorDelay);
    auto focusBorderColor = plain(n, "focusBorderColor", d.focusBorderColor);
    auto focusBorderOpacity = plain(n, "focusBorderOpacity", d.focusBorderOpacity);
    auto focusBorderCornerRadius = plain(n, "focusBorderCornerRadius", d.focusBorderCornerRadius);
    auto hideFocusBorderOnForeignFront =
        plain(n, "hideFocusBorderOnForeignFront", d.hideFocusBorderOnForeignFront);
    auto followActivationToDesktop =
        plain(n, "followActivationToDesktop", d.followActivationToDesktop);
    auto showLauncher = plain(n, "showLauncher", d.showLauncher);
    auto showFocusedAppName = plain(n, "showFocusedAppName", d.showFocusedAppName);
    auto launcherVimMode = plain(n, "launcherVimMode", d.launcherVimMode);
    auto launcherRecents = tolerant(n, "launcherRecents", std::vector<std::string>{});
    auto systemTweaks = tweakRecords(n);
    auto guideSeen = plain(n, "guideSeen", d.guideSeen);
    return Config(desktopCount, gaps, std::move(floatBundleIDs), std::move(ignoreBundleIDs),
                  stashDesktop, defaultLayoutMode, std::move(layoutModes), clickToFloat,
                  showSwitchHUD, primaryModifier, std::move(shortcuts), std::move(terminalBundleID),
                  showFocusBorder, focusFollowsCursor, focusFollowsCursorDelay,
                  std::move(focusBorderColor), focusBorderOpacity, focusBorderCornerRadius,
                  hideFocusBorderOnForeignFront, followActivationToDesktop, showLauncher,
                  showFocusedAppName, launcherVimMode, std::move(launcherRecents),
                  std::move(systemTweaks), guideSeen);
}

}  // namespace kelvo
