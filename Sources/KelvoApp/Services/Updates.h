#pragma once

#include <filesystem>

#include "KelvoApp/Services/RequestLog.h"

namespace kelvo {

/// The holder of the update checker. Until the checker is built, `start` keeps only the rule
/// that an updater exists when the program runs from an application bundle.
class Updates {
  public:
    /// At most once; records whether an updater would have been made for this location.
    void start(const std::filesystem::path& bundleURL);

    bool started = false;
    bool controller = false;
    RequestLog log;
};

}  // namespace kelvo
