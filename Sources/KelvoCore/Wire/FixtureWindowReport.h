#pragma once

#include <cstdint>
#include <string>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Wire/FixtureQuirk.h"
#include "KelvoCore/Wire/WireRect.h"

namespace kelvo {

/// What the fixture application reports about one of its windows; every field is required.
struct FixtureWindowReport {
    std::uint32_t number = 0;
    std::string title;
    FixtureQuirk quirk = FixtureQuirk::plain;
    WireRect frame;
    bool visible = false;
    bool minimized = false;
    bool key = false;
    bool main = false;

    FixtureWindowReport() = default;
    FixtureWindowReport(std::uint32_t number, std::string title, FixtureQuirk quirk, WireRect frame,
                        bool visible, bool minimized, bool key, bool main);

    bool operator==(const FixtureWindowReport&) const = default;
};

template <>
struct JSONCoding<FixtureWindowReport> {
    static JSONValue encode(const FixtureWindowReport& r);
    static FixtureWindowReport decode(const JSONNode& node);
};

}  // namespace kelvo
