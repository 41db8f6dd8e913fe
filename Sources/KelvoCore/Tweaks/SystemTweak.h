#pragma once

#include <optional>
#include <string>

#include "KelvoCore/Tweaks/PreferenceValue.h"
#include "KelvoCore/Tweaks/TweakEffect.h"

namespace kelvo {

/// One macOS preference the system can change for the user and later put back as found.
struct SystemTweak {
    /// Also the key of its record in the configuration.
    std::string id;
    std::string title;
    std::string detail;
    std::optional<std::string> caution;
    /// An application identifier, or "NSGlobalDomain".
    std::string domain;
    std::string key;
    /// What turning the tweak on writes.
    PreferenceValue onValue;
    TweakEffect effect;

    bool operator==(const SystemTweak&) const = default;
};

}  // namespace kelvo
