#pragma once

#include <compare>

/// A moment in time, as seconds since 1970-01-01 00:00 UTC.
struct Date {
    double timeIntervalSince1970 = 0;

    /// The process clock's date (virtual on a manual clock).
    static Date now();

    auto operator<=>(const Date&) const = default;
};
