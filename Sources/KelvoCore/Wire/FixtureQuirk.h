#pragma once

#include <array>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// How a window of the fixture application misbehaves.
enum class FixtureQuirk {
    plain,
    refusesPosition,
    clampsSize,
    nonResizable,
    selfMinimizes,
    selfHides,
    fixedAspect,
    absentFromAXWindows,
};

namespace fixture_quirk {
inline constexpr std::array<FixtureQuirk, 8> allCases = {
    FixtureQuirk::plain,        FixtureQuirk::refusesPosition,     FixtureQuirk::clampsSize,
    FixtureQuirk::nonResizable, FixtureQuirk::selfMinimizes,       FixtureQuirk::selfHides,
    FixtureQuirk::fixedAspect,  FixtureQuirk::absentFromAXWindows,
};
}

std::string rawValue(FixtureQuirk quirk);
/// Exact, case-sensitive.
std::optional<FixtureQuirk> fixtureQuirkFromRawValue(const std::string& raw);

template <>
struct JSONCoding<FixtureQuirk> {
    static JSONValue encode(FixtureQuirk quirk);
    static FixtureQuirk decode(const JSONNode& node);
};

}  // namespace kelvo
