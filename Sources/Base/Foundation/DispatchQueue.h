#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Base/Foundation/DispatchTime.h"
#include "Base/Foundation/DispatchWorkItem.h"

/// Quality of service of a queue. Kept for the callers' sake; every queue runs at one priority.
enum class DispatchQoS { background, utility, defaultQoS, userInitiated, userInteractive };

class SerialExecutor;

/// A serial dispatch queue: work runs one item at a time, in deadline order and, for equal
/// deadlines, in submission order. `main()` is run by the main thread's loop; a labelled queue
/// has a thread of its own, named after the label. Copies refer to the same queue. Work
/// already handed to a queue still runs after the last copy of it is gone.
class DispatchQueue {
  public:
    explicit DispatchQueue(std::string label, DispatchQoS qos = DispatchQoS::defaultQoS);
    static DispatchQueue& main();

    const std::string& label() const;

    void async(std::function<void()> work) const;
    void async(DispatchWorkItem item) const;
    void asyncAfter(DispatchTime deadline, std::function<void()> work) const;
    void asyncAfter(DispatchTime deadline, DispatchWorkItem item) const;
    /// Runs `work` on the queue after the work already due there and waits for it. Calling it
    /// from the queue's own work, or onto the main queue from the main thread, is a
    /// programming error that ends the process (it would wait for ever).
    void sync(const std::function<void()>& work) const;

    /// True while the calling thread runs this queue's work.
    bool isCurrent() const;

  private:
    struct Handle;
    DispatchQueue();
    const void* tag() const;
    void post(DispatchTime deadline, DispatchWorkItem item) const;

    std::shared_ptr<Handle> handle_;
};
