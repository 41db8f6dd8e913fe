#include "KelvoCore/Config/ConfigTransfer.h"

#include <algorithm>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Config/NothingChanged.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

ConfigTransfer::Failure::Failure(Kind kind, std::string reason)
    : std::runtime_error(messageFor(kind, reason)), kind_(kind), reason_(std::move(reason)) {}

std::string ConfigTransfer::Failure::messageFor(Kind kind, const std::string& reason) {
    switch (kind) {
        case Kind::unreadable:
            return NothingChanged::after("That file could not be read: " + reason);
        case Kind::notASettingsFile:
            return "That file is not a Kelvo settings file.";
        case Kind::noSettingsInside:
            return "That file has no Kelvo settings in it, so nothing was changed.";
    }
    return "";
}

const std::set<std::string>& ConfigTransfer::settingKeys() {
    static const std::set<std::string> keys = {
        "desktopCount",
        "gaps",
        "floatBundleIDs",
        "ignoreBundleIDs",
        "stashDesktop",
        "defaultLayoutMode",
        "layoutModes",
        "clickToFloat",
        "showSwitchHUD",
        "primaryModifier",
        "shortcuts",
        "terminalBundleID",
        "showFocusBorder",
        "focusFollowsCursor",
        "focusFollowsCursorDelay",
        "focusBorderColor",
        "focusBorderOpacity",
        "focusBorderCornerRadius",
        "hideFocusBorderOnForeignFront",
        "followActivationToDesktop",
        "showLauncher",
        "showFocusedAppName",
        "launcherVimMode",
        "guideSeen",
    };
    return keys;
}

const std::set<std::string>& ConfigTransfer::recordKeys() {
    static const std::set<std::string> keys = {"systemTweaks", "launcherRecents"};
    return keys;
}

std::string ConfigTransfer::exportSettings(const Config& config) {
    JSONValue object = encodeJSON(config);
    for (const std::string& key : recordKeys())
        object.erase(key);
    return JSONWriter::write(object, JSONWriter::prettyPrinted());
}

Config ConfigTransfer::keepingRecords(Config config, const Config& current) {
    config.systemTweaks = current.systemTweaks;
    config.launcherRecents = LauncherRecents::cleaned(current.launcherRecents);
    return config;
}

Config ConfigTransfer::importSettings(std::string_view bytes, const Config& current) {
    JSONValue document;
    try {
        document = JSONNode::parse(bytes);
    } catch (const DecodingError&) {
        throw Failure::notASettingsFile();
    }
    if (!document.is_object()) throw Failure::notASettingsFile();
    const std::vector<std::string> keys = JSONNode(document).keys();
    if (std::none_of(keys.begin(), keys.end(),
                     [](const std::string& key) { return settingKeys().count(key) > 0; })) {
        throw Failure::noSettingsInside();
    }
    try {
        return keepingRecords(JSONNode(document).decode<Config>(), current);
    } catch (const std::exception& error) {
        throw Failure::unreadable(reason(error));
    }
}

Config ConfigTransfer::defaults(const Config& keeping) {
    return keepingRecords(Config::defaults(), keeping);
}

std::string ConfigTransfer::decodingReason(const DecodingError& error) {
    switch (error.kind()) {
        case DecodingError::Kind::typeMismatch:
        case DecodingError::Kind::valueNotFound:
            return error.pathText() + " is the wrong kind of value";
        case DecodingError::Kind::keyNotFound:
            return error.missingKey() + " is missing";
        case DecodingError::Kind::dataCorrupted:
            if (error.codingPath().empty()) return "it is not valid JSON";
            return error.pathText() + " is not valid";
    }
    return "it is not in the expected format";
}

std::string ConfigTransfer::reason(const std::exception& error) {
    if (const auto* decoding = dynamic_cast<const DecodingError*>(&error)) {
        return decodingReason(*decoding);
    }
    return error.what();
}

}  // namespace kelvo
