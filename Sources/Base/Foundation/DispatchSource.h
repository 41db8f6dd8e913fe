#pragma once

#include <functional>
#include <memory>

#include "Base/Foundation/DispatchQueue.h"

/// A signal source: while resumed and not cancelled, every arrival of its signal runs its
/// event handler on its queue, never inside the signal handler itself. Arrivals that come
/// before the handler has run are merged into one run (`data()` says how many). Unlike the
/// platform's, a resumed source catches its signal even when the signal is set to be ignored
/// (Linux never reports an ignored signal); the earlier disposition comes back when the last
/// source for that signal is cancelled or released. Copies refer to the same source.
class DispatchSourceSignal {
  public:
    void setEventHandler(std::function<void()> handler) const;
    void resume() const;
    void cancel() const;
    bool isCancelled() const;
    int signal() const;
    /// During the event handler: the number of arrivals it stands for.
    unsigned long data() const;

    struct State;  // shared with the signal delivery

  private:
    friend class DispatchSource;
    explicit DispatchSourceSignal(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};

class DispatchSource {
  public:
    static DispatchSourceSignal makeSignalSource(int signal, DispatchQueue queue);

    /// For the signal pipe: `count` arrivals of `signal` to hand to its sources.
    static void deliver(int signal, unsigned long count);
};
