#pragma once

#include <string>

#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/InvisibleReason.h"
#include "KelvoCore/Store/VisibilityRepair.h"

namespace kelvo {

/// One window of the active desktop that was not visible, why, and what was done about it.
struct VisibilityFinding {
    WindowID id;
    std::string bundleID;
    InvisibleReason reason = InvisibleReason::unreachable;
    VisibilityRepair repair = VisibilityRepair::none;
    int desktop = 0;

    /// The log line: "invisible window 812 (com.x) on desktop 2: <reason> — <repair>".
    std::string line() const;

    bool operator==(const VisibilityFinding&) const = default;
};

}  // namespace kelvo
