#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Wire/FixtureWindowReport.h"

namespace kelvo {

/// One reply of the fixture application.
struct FixtureReply {
    bool ok = false;
    std::optional<std::string> error;
    std::optional<std::int32_t> pid;
    std::optional<std::uint32_t> window;
    std::optional<std::vector<FixtureWindowReport>> windows;
    std::optional<bool> appActive;
    std::optional<bool> appHidden;

    FixtureReply() = default;
    FixtureReply(bool ok, std::optional<std::string> error, std::optional<std::int32_t> pid,
                 std::optional<std::uint32_t> window,
                 std::optional<std::vector<FixtureWindowReport>> windows,
                 std::optional<bool> appActive, std::optional<bool> appHidden);

    /// `ok` false with the message; nothing else.
    static FixtureReply failure(const std::string& message);

    bool operator==(const FixtureReply&) const = default;
};

template <>
struct JSONCoding<FixtureReply> {
    static JSONValue encode(const FixtureReply& r);
    static FixtureReply decode(const JSONNode& node);
};

}  // namespace kelvo
