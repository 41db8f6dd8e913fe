#include "Base/Foundation/SignalDelivery.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;
};

// Written before any handler is installed and never changed, so the handler may read it.
int pipeWriteEnd = -1;

const Pipe& signalPipe() {
    static const Pipe pipe = [] {
        int ends[2];
        if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
            std::perror("SignalDelivery: pipe2");
            std::abort();
        }
        pipeWriteEnd = ends[1];
        return Pipe{ends[0], ends[1]};
    }();
    return pipe;
}

void catchSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = write(pipeWriteEnd, &byte, 1);
    errno = savedErrno;
}

struct Catching {
    int sources = 0;
    struct sigaction previous {};
};

struct Dispositions {
    Mutex mutex;
    std::map<int, Catching> bySignal GUARDED_BY(mutex);
};

Dispositions& dispositions() {
    static Dispositions* shared = new Dispositions();
    return *shared;
}

}  // namespace

int SignalDelivery::readDescriptor() {
    return signalPipe().readEnd;
}

void SignalDelivery::deliverPending() {
    std::array<unsigned long, 256> arrivals{};
    bool any = false;
    unsigned char bytes[64];
    ssize_t count;
    while ((count = read(signalPipe().readEnd, bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            ++arrivals[bytes[i]];
        any = true;
    }
    if (!any) return;
    for (int signal = 0; signal < static_cast<int>(arrivals.size()); ++signal) {
        if (arrivals[signal] > 0) DispatchSource::deliver(signal, arrivals[signal]);
    }
}

void SignalDelivery::retain(int signal) {
    signalPipe();
    auto& shared = dispositions();
    MutexLock lock(shared.mutex);
    Catching& catching = shared.bySignal[signal];
    if (catching.sources++ > 0) return;
    struct sigaction action {};
    action.sa_handler = catchSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, &catching.previous);
}

void SignalDelivery::release(int signal) {
    auto& shared = dispositions();
    MutexLock lock(shared.mutex);
    const auto found = shared.bySignal.find(signal);
    if (found == shared.bySignal.end() || --found->second.sources > 0) return;
    sigaction(signal, &found->second.previous, nullptr);
    shared.bySignal.erase(found);
}
