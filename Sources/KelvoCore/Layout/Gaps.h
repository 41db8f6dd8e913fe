#pragma once

#include <map>

#include "Base/Foundation/CGGeometry.h"
#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// `inner` is the whole space between two neighbouring windows (each side of a shared edge
/// gives half); `outer` the space between a window and its container's edge.
struct Gaps {
    /// How close an edge must come to the container's edge to count as lying on it.
    static constexpr double edgeTolerance = 0.5;

    double inner = 0;
    double outer = 0;

    static Gaps none() { return Gaps{}; }

    /// The gapped frames of one pane's edge-to-edge tiling in `container`. Nothing is rounded
    /// or clamped: gaps wider than a window give it a negative size.
    std::map<WindowID, CGRect> apply(const std::map<WindowID, CGRect>& frames,
                                     const CGRect& container) const;

    bool operator==(const Gaps&) const = default;
};

template <>
struct JSONCoding<Gaps> {
    static JSONValue encode(const Gaps& gaps);
    static Gaps decode(const JSONNode& node);
};

}  // namespace kelvo
