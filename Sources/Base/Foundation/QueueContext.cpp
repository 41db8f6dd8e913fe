#include "Base/Foundation/QueueContext.h"

namespace {
thread_local TimedWorkList::QueueTag runningQueue = nullptr;
}

TimedWorkList::QueueTag QueueContext::current() {
    return runningQueue;
}

void QueueContext::run(const TimedWorkList::Entry& entry) {
    const TimedWorkList::QueueTag outer = runningQueue;
    runningQueue = entry.queue;
    entry.item.perform();
    runningQueue = outer;
}
