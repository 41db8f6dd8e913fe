#pragma once

#include <memory>
#include <string>
#include <thread>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/TimedWorkList.h"

/// The thread behind a labelled queue in production. The thread starts with the first work
/// and keeps itself (and this object) alive until the queue is released and no work is left.
/// Its work always runs on the monotonic clock: while a manual clock is installed, queues hand
/// their work to that clock instead, so a thread never waits on virtual time.
class SerialExecutor : public std::enable_shared_from_this<SerialExecutor> {
  public:
    explicit SerialExecutor(std::string label);
    ~SerialExecutor();
    SerialExecutor(const SerialExecutor&) = delete;
    SerialExecutor& operator=(const SerialExecutor&) = delete;

    const std::string& label() const { return label_; }
    void post(DispatchTime deadline, DispatchWorkItem item);
    /// The last handle of the queue is gone: the thread ends once its work is done. A thread
    /// left with nothing to run (cancelled work aside) has ended when this returns, so that it
    /// cannot outlive its owner; one with work still due goes on until that has run.
    void release();

  private:
    void startThreadLocked() REQUIRES(mutex_);
    void runThread();

    const std::string label_;
    Mutex mutex_;
    ConditionVariable changed_;
    ConditionVariable ended_;
    TimedWorkList work_ GUARDED_BY(mutex_);
    bool released_ GUARDED_BY(mutex_) = false;
    bool threadRunning_ GUARDED_BY(mutex_) = false;
    /// The latest thread; joined by whoever waits for its end, else detached.
    std::thread thread_ GUARDED_BY(mutex_);
};
