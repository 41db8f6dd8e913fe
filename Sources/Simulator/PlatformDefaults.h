#pragma once

namespace sim {

/// What the real platform fixes once for everyone, so that the desktop and the stand-ins that
/// talk to it agree without the stand-ins knowing the desktop itself.
struct PlatformDefaults {
    /// The messaging timeout, in seconds, of an element that was never given one.
    static constexpr double messagingTimeout = 6.0;
    /// The any-application preference domain, where global preferences are kept.
    static constexpr const char* globalPreferenceDomain = ".GlobalPreferences";
};

}  // namespace sim
