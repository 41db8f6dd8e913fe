#pragma once

#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// One existing window handed to the store at start-up, as the classifier read it.
struct AdoptionRecord {
    WindowID id;
    std::string bundleID;
    bool floating = false;
    bool minimized = false;
    /// The frame the scan read just before; none: the store reads it when it needs it.
    std::optional<CGRect> frame = std::nullopt;

    bool operator==(const AdoptionRecord&) const = default;
};

}  // namespace kelvo
