#pragma once

#include <string>

namespace kelvo {

/// One application the launcher can offer.
struct LauncherEntry {
    std::string bundleID;
    /// The name shown and matched.
    std::string name;
    bool isRunning = false;

    /// Texts compare up to canonical equivalence.
    bool operator==(const LauncherEntry& other) const;
};

}  // namespace kelvo
