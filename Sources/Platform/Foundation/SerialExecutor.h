#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "Platform/Foundation/TimedWorkList.h"

/// The thread behind a labelled queue in production. The thread starts with the first work
/// and keeps itself (and this object) alive until the queue is released and no work is left.
class SerialExecutor : public std::enable_shared_from_this<SerialExecutor> {
  public:
    explicit SerialExecutor(std::string label);

    const std::string& label() const { return label_; }
    void post(DispatchTime deadline, DispatchWorkItem item);
    /// The last handle of the queue is gone: the thread ends once its work is done.
    void release();

  private:
    void startThreadLocked();
    void runThread();

    const std::string label_;
    std::mutex mutex_;
    std::condition_variable changed_;
    TimedWorkList work_;
    bool released_ = false;
    bool threadRunning_ = false;
};
