#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "Simulator/DesktopForwarder.h"

namespace sim {

/// A connection to a desktop that lives in the same process: each call is a direct call on the
/// desktop, and events reach the sink on the thread that caused them.
class InProcessConnection final : public DesktopForwarder {
  public:
    explicit InProcessConnection(std::shared_ptr<Desktop> desktop);
    ~InProcessConnection() override;

    void setEventSink(EventSink sink) override;
    Pid registerClient(const ApplicationSpec& self) override;
    Pid clientPid() const override;

  private:
    /// The sink, shared with the desktop's delivery so that an event under way when the
    /// connection goes never reaches a destroyed object.
    struct SinkSlot {
        std::mutex mutex;
        EventSink sink;
        void deliver(const DesktopEvent& event);
    };

    std::shared_ptr<SinkSlot> slot_ = std::make_shared<SinkSlot>();
    std::atomic<Pid> pid_{0};
};

}  // namespace sim
