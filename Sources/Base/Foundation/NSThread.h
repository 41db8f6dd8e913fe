#pragma once

#include <functional>
#include <memory>
#include <string>

/// A thread that runs one block, with a name, detached like the platform's: it lives until
/// its block returns, whether or not this object is kept.
class NSThread {
  public:
    explicit NSThread(std::function<void()> block);

    /// Set before `start()`; the system sees the first 15 bytes of it.
    void setName(std::string name);
    std::string name() const;
    /// Starts the thread; a second call does nothing.
    void start();
    bool isFinished() const;
    /// Waits, at most `boundSeconds` of real time, for the block to return; true when it did.
    bool waitUntilFinished(double boundSeconds) const;

    /// The process's first thread.
    static bool isMainThread();
    /// The name the calling thread was started with (empty for threads not made here).
    static std::string currentName();

  private:
    struct State;
    std::shared_ptr<State> state_;
};
