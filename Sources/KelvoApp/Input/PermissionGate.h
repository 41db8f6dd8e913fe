#pragma once

#include "KelvoApp/Interfaces/AppPlatform.h"

namespace kelvo {

/// Makes sure, once at start-up, that the process is trusted for Accessibility, walking the
/// user through the system prompt with two alerts. One pass decides; nothing is polled.
class PermissionGate {
  public:
    PermissionGate() = delete;

    static constexpr int firstButton = 1000;

    static AlertRequest introduction();
    static AlertRequest waiting();
    /// In test mode an untrusted process gets no alert and the answer is false at once.
    static bool ensureTrusted(AppPlatform& platform, bool testMode);
};

}  // namespace kelvo
