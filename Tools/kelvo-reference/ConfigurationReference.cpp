#include "ConfigurationReference.h"

#include <algorithm>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Config/Config.h"

namespace kelvo_reference {

using kelvo::Config;
using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

namespace {

std::string number(double value) {
    return JSONWriter::write(JSONValue(value));
}

/// A value as the file holds it, compact and in a code span.
std::string written(const JSONValue& value) {
    return "`" + JSONWriter::write(value, JSONWriter::Options{.escapeSlash = false}) + "`";
}

/// The record as the file holds it, with the fields that may be left out present too.
JSONValue everyKey(Config config) {
    if (!config.stashDesktop) config.stashDesktop = 1;
    if (!config.terminalBundleID) config.terminalBundleID = "";
    return kelvo::encodeJSON(config);
}

void checkAgainstTheCode(const std::vector<ConfigurationReference::Key>& keys) {
    std::vector<std::string> described, coded;
    for (const auto& key : keys)
        described.emplace_back(key.name);
    const JSONValue record = everyKey(Config::defaults());
    for (const auto& [name, value] : record.items())
        coded.push_back(name);
    if (described != coded) {
        std::string text = "the configuration's keys are now:";
        for (const auto& name : coded)
            text += " " + name;
        throw ConfigurationReference::Mismatch(text + " (describe each in kelvo-reference)");
    }
}

}  // namespace

std::vector<ConfigurationReference::Key> ConfigurationReference::keys() {
    const std::string delay = std::to_string(Config::maxFocusFollowsCursorDelay);
    const std::string radius = number(Config::maxFocusBorderCornerRadius);
    const std::string gap = number(Config::maxGap);
    return {
        {"desktopCount",
         "how many numbered desktops there are: 1 to 9 (other numbers are taken as "
         "the nearest of those)"},
        {"gaps",
         "`{\"inner\": points, \"outer\": points}`: the space between two tiled windows, "
         "and between a window and the display's edge; each 0 to " +
             gap + " points (other numbers are taken as the nearest of those)"},
        {"floatBundleIDs",
         "bundle identifiers whose windows always float (System Settings and "
         "the Finder's save dialog always do)"},
        {"ignoreBundleIDs", "bundle identifiers whose windows Kelvo never manages"},
        {"stashDesktop", "the desktop that takes the windows that cannot be tiled; left out: none"},
        {"defaultLayoutMode",
         "`\"bsp\"` (each new window splits the focused one) or "
         "`\"masterStack\"` (one main window, the rest stacked beside it); "
         "any other value counts as left out"},
        {"layoutModes",
         "desktops laid out otherwise than the default, `{\"2\": \"masterStack\"}`; "
         "⌥⇧M writes here"},
        {"clickToFloat", "⌥⇧-click floats or tiles the window under the pointer"},
        {"showSwitchHUD", "switching desktops shows the desktop's number on the screen"},
        {"primaryModifier",
         "`\"option\"` or `\"control\"`: the modifier of every default "
         "shortcut (⌥ or ⌃); any other text counts as `\"option\"`"},
        {"shortcuts",
         "your own chords, by the names of the shortcuts below: `{\"zoom\": "
         "{\"keyCode\": 3, \"control\": true}}` binds ⌃F, `null` unbinds; a chord "
         "with ⌘ or without ⌥ and ⌃ is dropped"},
        {"terminalBundleID",
         "the terminal that ⌥↩ opens; left out: the first installed one Kelvo knows"},
        {"showFocusBorder", "a border around the focused window"},
        {"focusFollowsCursor", "the window under the pointer takes the focus"},
        {"focusFollowsCursorDelay",
         "milliseconds the pointer rests before the focus follows it: "
         "0 to " +
             delay},
        {"focusBorderColor", "`\"#RRGGBB\"`; a text that is no colour draws white"},
        {"focusBorderOpacity", "0 to 1"},
        {"focusBorderCornerRadius", "points, 0 to " + radius},
        {"hideFocusBorderOnForeignFront",
         "hide the border while an application Kelvo does not "
         "manage is in front"},
        {"followActivationToDesktop",
         "activating an application whose window is on another "
         "desktop shows that desktop"},
        {"showLauncher", "the launcher (⌥Space) finds applications by name"},
        {"showFocusedAppName", "the menu bar shows the focused application's name"},
        {"launcherVimMode", "the launcher opens with its keys in the list: J and K move, I types"},
        {"launcherRecents",
         "kept by Kelvo: the applications last chosen in the launcher, most "
         "recent first, at most 50"},
        {"systemTweaks",
         "kept by Kelvo: the macOS settings a system tweak changed, to put "
         "them back"},
        {"guideSeen", "the first-run guide has been shown"},
    };
}

std::string ConfigurationReference::keysTable() {
    const auto described = keys();
    checkAgainstTheCode(described);
    const JSONValue defaults = kelvo::encodeJSON(Config::defaults());
    std::string text = "| key | default | what it takes |\n|---|---|---|\n";
    for (const auto& key : described) {
        const std::string name(key.name);
        const auto found = defaults.find(name);
        text += "| `" + name + "` | " + (found == defaults.end() ? "left out" : written(*found)) +
                " | " + key.values + " |\n";
    }
    return text;
}

std::string ConfigurationReference::missingKeys() {
    const JSONValue defaults = kelvo::encodeJSON(Config::defaults());
    const JSONValue empty = kelvo::encodeJSON(JSONNode(JSONValue::object()).decode<Config>());
    std::vector<std::string> differing;
    for (const auto& key : keys()) {
        const std::string name(key.name);
        const auto byDefault = defaults.find(name);
        const auto whenMissing = empty.find(name);
        const bool same = (byDefault == defaults.end()) == (whenMissing == empty.end()) &&
                          (byDefault == defaults.end() || *byDefault == *whenMissing);
        if (same) continue;
        differing.push_back("`" + name + "` (then " +
                            (whenMissing == empty.end() ? "none" : written(*whenMissing)) + ")");
    }
    std::string text = "A key left out of the file, or `null`, takes its default";
    for (std::size_t i = 0; i < differing.size(); ++i) {
        text += (i == 0 ? ", except " : i + 1 == differing.size() ? " and " : ", ") + differing[i];
    }
    return text + ".\n";
}

std::string ConfigurationReference::shortcutsTable() {
    std::string text = "| | keys | what they do | name |\n|---|---|---|---|\n";
    for (const auto& section : kelvo::KeyReference::sections(Config::defaults())) {
        bool first = true;
        for (const auto& entry : section.entries) {
            const std::string name =
                entry.shortcut ? "`" + kelvo::rawValue(*entry.shortcut) + "`" : "fixed";
            text += "| " + (first ? section.title : std::string()) + " | " + entry.keys() + " | " +
                    entry.what + " | " + name + " |\n";
            first = false;
        }
    }
    return text;
}

std::string ConfigurationReference::markdown() {
    return keysTable() + "\n" + missingKeys() + "\nThe default shortcuts (with `\"option\"` as " +
           "the primary modifier; with `\"control\"` ⌃ takes the place of ⌥):\n\n" +
           shortcutsTable();
}

}  // namespace kelvo_reference
