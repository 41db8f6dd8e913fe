#include "Base/Foundation/Clock.h"

#include <atomic>
#include <chrono>

namespace {

std::atomic<const Clock*>& installedClock() {
    static std::atomic<const Clock*> clock{nullptr};
    return clock;
}

}  // namespace

const Clock& Clock::current() {
    const Clock* clock = installedClock().load(std::memory_order_acquire);
    return clock ? *clock : MonotonicClock::shared();
}

void Clock::install(const Clock* clock) {
    installedClock().store(clock, std::memory_order_release);
}

DispatchTime MonotonicClock::now() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return {static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(since).count())};
}

double MonotonicClock::secondsSince1970() const {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

const MonotonicClock& MonotonicClock::shared() {
    // Never destroyed: queue threads may still read the clock while the process exits.
    static const MonotonicClock* clock = new MonotonicClock();
    return *clock;
}
