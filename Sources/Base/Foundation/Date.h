#pragma once

#include <compare>
#include <string>

/// A moment in time, as seconds since 1970-01-01 00:00 UTC.
struct Date {
    double timeIntervalSince1970 = 0;

    /// The process clock's date (virtual on a manual clock).
    static Date now();
    /// Midnight UTC at the start of the year 1: earlier than any date a file or clock gives.
    static Date distantPast();

    /// The date in UTC, such as "2026-12-07 23:23:05 +0000" (whole seconds).
    std::string description() const;

    auto operator<=>(const Date&) const = default;
};
