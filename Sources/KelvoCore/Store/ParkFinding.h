#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/ParkOutcome.h"

namespace kelvo {

/// A park write that did not land, minimized the window, or healed a park.
struct ParkFinding {
    WindowID id;
    std::string bundleID;
    int desktop = 0;
    /// The frame read back after the park write.
    CGRect frame;
    ParkOutcome outcome = ParkOutcome::leftOnScreen;

    /// The log line, with the read-back origin cut toward zero to whole points.
    std::string line() const;

    bool operator==(const ParkFinding&) const = default;
};

}  // namespace kelvo
