#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Wire/WireCommand.h"

namespace kelvo {

/// One request of the test-mode line protocol.
struct KelvoTestRequest {
    std::string op;
    std::optional<WireCommand> command;
    std::optional<std::vector<std::uint32_t>> ids;

    KelvoTestRequest() = default;
    KelvoTestRequest(std::string op, std::optional<WireCommand> command,
                     std::optional<std::vector<std::uint32_t>> ids);

    // What a harness sends; the system itself only decodes requests.
    static KelvoTestRequest ping();
    static KelvoTestRequest quit();
    static KelvoTestRequest commandRequest(const Command& command);
    /// The windows' raw numbers in the given order, duplicates kept; an empty list is sent as
    /// an empty array, not left out.
    static KelvoTestRequest state(const std::vector<WindowID>& windows);

    bool operator==(const KelvoTestRequest&) const = default;
};

template <>
struct JSONCoding<KelvoTestRequest> {
    static JSONValue encode(const KelvoTestRequest& r);
    static KelvoTestRequest decode(const JSONNode& node);
};

}  // namespace kelvo
