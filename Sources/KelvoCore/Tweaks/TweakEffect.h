#pragma once

#include <array>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// When a system tweak takes effect, as the user is told beside its switch.
enum class TweakEffect { now, appRestart, dockRestart, logout };

namespace tweak_effect {
inline constexpr std::array<TweakEffect, 4> allCases = {
    TweakEffect::now, TweakEffect::appRestart, TweakEffect::dockRestart, TweakEffect::logout};
}

/// The case name.
std::string rawValue(TweakEffect effect);
/// The short text beside the switch: "now", "on app restart", "on Dock restart", "on logout".
std::string badge(TweakEffect effect);
/// Exact raw values only.
std::optional<TweakEffect> tweakEffectFromRawValue(const std::string& raw);

template <>
struct JSONCoding<TweakEffect> {
    static JSONValue encode(TweakEffect effect);
    /// dataCorrupted for a string that is not a raw value.
    static TweakEffect decode(const JSONNode& node);
};

}  // namespace kelvo
