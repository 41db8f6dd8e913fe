#pragma once

#include <compare>
#include <cstdint>

/// A point on the process clock, in nanoseconds since an arbitrary start. Deadlines of
/// deferred work are written `DispatchTime::now() + 0.4`.
struct DispatchTime {
    std::uint64_t uptimeNanoseconds = 0;

    /// The process clock's current reading (see `Clock::current()`).
    static DispatchTime now();

    auto operator<=>(const DispatchTime&) const = default;
};

/// The time `seconds` later; negative or non-finite spans count as no time at all.
DispatchTime operator+(DispatchTime time, double seconds);

/// Seconds from `earlier` to `later` (negative when `later` comes first).
double secondsBetween(DispatchTime earlier, DispatchTime later);
