#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace kelvo {

/// Virtual time for code that takes time only through scheduler closures. Work runs when a test
/// advances the clock past its deadline: in deadline order and, for equal deadlines, in the order
/// it was posted, including work posted by work that runs. Time is kept in whole nanoseconds, so
/// 0.1 + 0.2 seconds of advancing reaches a deadline posted 0.3 seconds ahead.
class ManualScheduler {
  public:
    using Work = std::function<void()>;

    ManualScheduler() = default;
    ManualScheduler(const ManualScheduler&) = delete;
    ManualScheduler& operator=(const ManualScheduler&) = delete;

    /// Runs the work `delay` seconds from now (a negative delay counts as none).
    void post(double delay, Work work);
    /// A scheduler with one fixed delay, as the store takes them.
    std::function<void(Work)> scheduler(double delay);
    /// A scheduler that is told the delay with each piece of work.
    std::function<void(double, Work)> delayedScheduler();

    /// Runs everything due now, and what that work posts for now.
    void runUntilIdle();
    /// Moves the clock forward to each deadline within the span in turn, running what falls due
    /// there, and ends exactly `seconds` later.
    void advance(double seconds);

    std::size_t pendingCount() const { return queue_.size(); }
    /// Seconds since the scheduler was made; none when nothing is pending.
    std::optional<double> nextDeadline() const;
    double now() const;

  private:
    using Nanoseconds = std::int64_t;
    static Nanoseconds toNanoseconds(double seconds);

    /// Keyed by (deadline, posting order).
    std::map<std::pair<Nanoseconds, std::uint64_t>, Work> queue_;
    Nanoseconds now_ = 0;
    std::uint64_t posted_ = 0;
};

}  // namespace kelvo
