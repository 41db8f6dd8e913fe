#include "Support/KelvoCore/ManualScheduler.h"

#include <cmath>

namespace kelvo {

void ManualScheduler::post(double delay, Work work) {
    queue_.emplace(std::make_pair(now_ + toNanoseconds(delay), posted_++), std::move(work));
}

std::function<void(ManualScheduler::Work)> ManualScheduler::scheduler(double delay) {
    return [this, delay](Work work) { post(delay, std::move(work)); };
}

std::function<void(double, ManualScheduler::Work)> ManualScheduler::delayedScheduler() {
    return [this](double delay, Work work) { post(delay, std::move(work)); };
}

void ManualScheduler::runUntilIdle() {
    while (!queue_.empty() && queue_.begin()->first.first <= now_) {
        Work work = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        if (work) work();
    }
}

void ManualScheduler::advance(double seconds) {
    const Nanoseconds end = now_ + toNanoseconds(seconds);
    runUntilIdle();
    while (!queue_.empty() && queue_.begin()->first.first <= end) {
        now_ = std::max(now_, queue_.begin()->first.first);
        runUntilIdle();
    }
    now_ = std::max(now_, end);
}

std::optional<double> ManualScheduler::nextDeadline() const {
    if (queue_.empty()) return std::nullopt;
    return static_cast<double>(queue_.begin()->first.first) / 1e9;
}

double ManualScheduler::now() const {
    return static_cast<double>(now_) / 1e9;
}

ManualScheduler::Nanoseconds ManualScheduler::toNanoseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    // A day is far beyond any delay the system uses; anything longer waits a day.
    constexpr double longest = 86400.0;
    return static_cast<Nanoseconds>(std::llround(std::fmin(seconds, longest) * 1e9));
}

}  // namespace kelvo
