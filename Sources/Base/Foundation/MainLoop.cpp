#include "Base/Foundation/MainLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/QueueContext.h"
#include "Base/Foundation/SignalDelivery.h"

namespace {

// The longest single wait; the loop simply waits again, so this only bounds one poll call.
constexpr double longestWaitSeconds = 60;

/// A wait of `seconds` to the nanosecond, so that a timer's work runs at its deadline rather
/// than at the next whole millisecond.
timespec waitOf(double seconds) {
    const double bounded = std::clamp(seconds, 0.0, longestWaitSeconds);
    const double whole = std::floor(bounded);
    return timespec{static_cast<time_t>(whole), static_cast<long>((bounded - whole) * 1e9)};
}

}  // namespace

MainLoop& MainLoop::shared() {
    static MainLoop* loop = new MainLoop();  // lives as long as the process
    return *loop;
}

MainLoop::MainLoop() : wakeFD_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (wakeFD_ < 0) {
        std::perror("MainLoop: eventfd");
        std::abort();
    }
}

void MainLoop::post(DispatchTime deadline, DispatchWorkItem item) {
    {
        MutexLock lock(mutex_);
        work_.add(deadline, std::move(item), this);
    }
    wakeUp();
}

void MainLoop::wakeUp() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeFD_, &one, sizeof one);
}

std::size_t MainLoop::pendingCount() {
    MutexLock lock(mutex_);
    return work_.count();
}

void MainLoop::stop() {
    {
        MutexLock lock(mutex_);
        stopRequested_ = true;
    }
    wakeUp();
}

void MainLoop::run() {
    while (true) {
        {
            MutexLock lock(mutex_);
            if (stopRequested_) {
                stopRequested_ = false;
                return;
            }
        }
        if (!runOneDue()) waitForWork();
    }
}

bool MainLoop::runOneDue() {
    std::optional<TimedWorkList::Entry> entry;
    {
        MutexLock lock(mutex_);
        entry = work_.takeDue(Clock::current().now());
    }
    if (!entry) return false;
    QueueContext::run(*entry);
    return true;
}

void MainLoop::waitForWork() {
    double seconds = longestWaitSeconds;
    {
        MutexLock lock(mutex_);
        if (stopRequested_) return;
        if (const auto next = work_.nextDeadline()) {
            seconds = secondsBetween(Clock::current().now(), *next);
        }
    }
    pollfd fds[2] = {{wakeFD_, POLLIN, 0}, {SignalDelivery::readDescriptor(), POLLIN, 0}};
    const timespec wait = waitOf(seconds);
    if (ppoll(fds, 2, &wait, nullptr) < 0 && errno != EINTR) std::perror("MainLoop: ppoll");
    std::uint64_t count = 0;
    while (read(wakeFD_, &count, sizeof count) > 0) {
    }
    SignalDelivery::deliverPending();
}
