#pragma once

#include "Base/Foundation/DispatchTime.h"

/// The one clock behind every deadline, timestamp and wait of the runtime. In production it is
/// the monotonic clock (and the system's wall clock for dates); a test installs a
/// `ManualClock` instead, and then every queue runs on virtual time.
class Clock {
  public:
    virtual ~Clock() = default;

    /// Monotonic reading for deadlines.
    virtual DispatchTime now() const = 0;
    /// Seconds since 1970 for dates and log timestamps.
    virtual double secondsSince1970() const = 0;

    /// The clock in force: the installed manual clock, or the monotonic one.
    static const Clock& current();

  protected:
    /// Makes `clock` the process clock; null puts the monotonic clock back.
    static void install(const Clock* clock);
};

class MonotonicClock final : public Clock {
  public:
    DispatchTime now() const override;
    double secondsSince1970() const override;

    static const MonotonicClock& shared();
};
