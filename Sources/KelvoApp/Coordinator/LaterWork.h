#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace kelvo {

/// Work a part of the coordinator leaves for later on the main queue. Work handed out here does
/// nothing once the part that made it is gone, so a delay outliving the coordinator is harmless.
class LaterWork {
  public:
    LaterWork() = default;
    LaterWork(const LaterWork&) = delete;
    LaterWork& operator=(const LaterWork&) = delete;

    /// Runs the work once on the main queue after the delay.
    void after(double seconds, std::function<void()> work) const;
    /// Runs the work on the main queue once what is queued before it has run.
    void soon(std::function<void()> work) const;
    /// Wraps work so that it does nothing once the owner is gone.
    std::function<void()> weakly(std::function<void()> work) const;
    /// The same for work that takes arguments.
    template <class... Arguments>
    std::function<void(Arguments...)> weaklyTaking(std::function<void(Arguments...)> work) const {
        std::weak_ptr<bool> alive = alive_;
        return [alive, work = std::move(work)](Arguments... arguments) {
            if (alive.lock()) work(std::forward<Arguments>(arguments)...);
        };
    }

  private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo
