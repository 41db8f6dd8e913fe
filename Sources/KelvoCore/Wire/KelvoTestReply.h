#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Wire/KelvoTestWindowRecord.h"

namespace kelvo {

/// One reply of the test-mode line protocol.
struct KelvoTestReply {
    bool ok = false;
    std::optional<std::string> error;
    std::optional<std::int32_t> pid;
    std::optional<std::int64_t> activeDesktop;
    std::optional<std::uint32_t> focused;
    std::optional<std::vector<KelvoTestWindowRecord>> windows;
    std::optional<std::string> description;

    KelvoTestReply() = default;
    KelvoTestReply(bool ok, std::optional<std::string> error, std::optional<std::int32_t> pid,
                   std::optional<std::int64_t> activeDesktop, std::optional<std::uint32_t> focused,
                   std::optional<std::vector<KelvoTestWindowRecord>> windows,
                   std::optional<std::string> description);

    /// `ok` false with the message; nothing else.
    static KelvoTestReply failure(const std::string& message);

    bool operator==(const KelvoTestReply&) const = default;
};

template <>
struct JSONCoding<KelvoTestReply> {
    static JSONValue encode(const KelvoTestReply& r);
    static KelvoTestReply decode(const JSONNode& node);
};

}  // namespace kelvo
