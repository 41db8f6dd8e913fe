#pragma once

#include "Base/Foundation/TimedWorkList.h"

/// Which queue's work the calling thread is running, so that a queue can refuse a `sync` onto
/// itself (which would wait forever) instead of hanging.
class QueueContext {
  public:
    static TimedWorkList::QueueTag current();
    /// Runs the entry's work with its queue marked as the current one.
    static void run(const TimedWorkList::Entry& entry);
};
