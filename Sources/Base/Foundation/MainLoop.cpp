#include "Base/Foundation/MainLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/QueueContext.h"
#include "Base/Foundation/SignalDelivery.h"

namespace {

// The longest single wait; the loop simply waits again, so this only bounds one poll call.
constexpr int longestWaitMilliseconds = 60'000;

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
        std::lock_guard lock(mutex_);
        work_.add(deadline, std::move(item), this);
    }
    wakeUp();
}

void MainLoop::wakeUp() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeFD_, &one, sizeof one);
}

std::size_t MainLoop::pendingCount() {
    std::lock_guard lock(mutex_);
    return work_.count();
}

void MainLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wakeUp();
}

void MainLoop::run() {
    while (true) {
        {
            std::lock_guard lock(mutex_);
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
        std::lock_guard lock(mutex_);
        entry = work_.takeDue(Clock::current().now());
    }
    if (!entry) return false;
    QueueContext::run(*entry);
    return true;
}

void MainLoop::waitForWork() {
    int timeout = longestWaitMilliseconds;
    {
        std::lock_guard lock(mutex_);
        if (stopRequested_) return;
        if (const auto next = work_.nextDeadline()) {
            const double seconds = secondsBetween(Clock::current().now(), *next);
            timeout = seconds <= 0 ? 0
                                   : static_cast<int>(std::min<double>(std::ceil(seconds * 1000),
                                                                       longestWaitMilliseconds));
        }
    }
    pollfd fds[2] = {{wakeFD_, POLLIN, 0}, {SignalDelivery::readDescriptor(), POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) std::perror("MainLoop: poll");
    std::uint64_t count = 0;
    while (read(wakeFD_, &count, sizeof count) > 0) {
    }
    SignalDelivery::deliverPending();
}
