#pragma once

#include <atomic>
#include <cstddef>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/TimedWorkList.h"

/// The main thread's loop in production: the main queue's timed work, woken by an event file
/// descriptor when work is handed over and by the signal pipe when a signal arrives.
/// (With a manual clock in force the main queue's work goes to that clock instead.)
class MainLoop {
  public:
    static MainLoop& shared();

    void post(DispatchTime deadline, DispatchWorkItem item);
    /// Runs the main queue's work as it falls due until `stop()`. A stop requested while the
    /// loop is not running ends the next run at once.
    void run();
    void stop();
    void wakeUp();
    std::size_t pendingCount();

  private:
    MainLoop();
    bool runOneDue();
    void waitForWork();

    Mutex mutex_;
    TimedWorkList work_ GUARDED_BY(mutex_);
    bool stopRequested_ GUARDED_BY(mutex_) = false;
    int wakeFD_ = -1;
};
