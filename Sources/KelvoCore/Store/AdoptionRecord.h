#pragma once

#include <string>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// One existing window handed to the store at start-up, as the classifier read it.
struct AdoptionRecord {
    WindowID id;
    std::string bundleID;
    bool floating = false;
    bool minimized = false;

    bool operator==(const AdoptionRecord&) const = default;
};

}  // namespace kelvo
