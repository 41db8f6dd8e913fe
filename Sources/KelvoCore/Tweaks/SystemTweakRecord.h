#pragma once

#include <map>
#include <string>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Tweaks/PreferenceOriginal.h"
#include "KelvoCore/Tweaks/PreferenceValue.h"

namespace kelvo {

/// One applied system tweak: where it wrote, what the key held before and what was written.
/// It is the only copy of the user's original preference value.
struct SystemTweakRecord {
    std::string domain;
    std::string key;
    PreferenceOriginal original;
    PreferenceValue applied;

    bool operator==(const SystemTweakRecord&) const = default;
};

/// An object with the four keys "domain", "key", "original" and "applied", all required.
template <>
struct JSONCoding<SystemTweakRecord> {
    static JSONValue encode(const SystemTweakRecord& record);
    static SystemTweakRecord decode(const JSONNode& node);

    /// The records of an object keyed by tweak identifier. A record that cannot be read is
    /// dropped on its own, so one damaged entry never costs the originals of the others;
    /// a value that is no object gives no records.
    static std::map<std::string, SystemTweakRecord> decodeEach(const JSONNode& node);
};

}  // namespace kelvo
