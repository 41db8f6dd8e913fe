#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Wire/FixtureQuirk.h"

namespace kelvo {

/// One request to the fixture application.
struct FixtureRequest {
    std::string op;
    std::optional<FixtureQuirk> quirk;
    std::optional<std::string> title;
    std::optional<double> after;
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
    std::optional<std::uint32_t> window;

    FixtureRequest() = default;
    FixtureRequest(std::string op, std::optional<FixtureQuirk> quirk,
                   std::optional<std::string> title, std::optional<double> after,
                   std::optional<double> x, std::optional<double> y, std::optional<double> width,
                   std::optional<double> height, std::optional<std::uint32_t> window);

    static FixtureRequest ping();
    static FixtureRequest list();
    static FixtureRequest quit();

    bool operator==(const FixtureRequest&) const = default;
};

template <>
struct JSONCoding<FixtureRequest> {
    static JSONValue encode(const FixtureRequest& r);
    static FixtureRequest decode(const JSONNode& node);
};

}  // namespace kelvo
