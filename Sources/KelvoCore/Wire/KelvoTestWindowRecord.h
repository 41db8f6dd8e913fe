#pragma once

#include <cstdint>
#include <optional>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Wire/WireRect.h"

namespace kelvo {

/// What the system reports about one window in a state reply.
struct KelvoTestWindowRecord {
    std::uint32_t id = 0;
    /// The home desktop; none when the store does not manage the window.
    std::optional<std::int64_t> desktop;
    bool floating = false;
    /// The frame the layout wants; none when the layout places no frame for the window.
    std::optional<WireRect> frame;

    KelvoTestWindowRecord() = default;
    KelvoTestWindowRecord(std::uint32_t id, std::optional<std::int64_t> desktop, bool floating,
                          std::optional<WireRect> frame);

    bool operator==(const KelvoTestWindowRecord&) const = default;
};

template <>
struct JSONCoding<KelvoTestWindowRecord> {
    static JSONValue encode(const KelvoTestWindowRecord& r);
    static KelvoTestWindowRecord decode(const JSONNode& node);
};

}  // namespace kelvo
