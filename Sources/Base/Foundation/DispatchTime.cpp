#include "Base/Foundation/DispatchTime.h"

#include <cmath>
#include <limits>

#include "Base/Foundation/Clock.h"

DispatchTime DispatchTime::now() {
    return Clock::current().now();
}

DispatchTime operator+(DispatchTime time, double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return time;
    constexpr auto maximum = std::numeric_limits<std::uint64_t>::max();
    const double nanoseconds = std::round(seconds * 1e9);
    if (nanoseconds >= static_cast<double>(maximum - time.uptimeNanoseconds)) return {maximum};
    return {time.uptimeNanoseconds + static_cast<std::uint64_t>(nanoseconds)};
}

double secondsBetween(DispatchTime earlier, DispatchTime later) {
    if (later >= earlier) {
        return static_cast<double>(later.uptimeNanoseconds - earlier.uptimeNanoseconds) / 1e9;
    }
    return -static_cast<double>(earlier.uptimeNanoseconds - later.uptimeNanoseconds) / 1e9;
}
