#include "Simulator/InProcessConnection.h"

#include "Simulator/SharedConnection.h"

namespace sim {

InProcessConnection::InProcessConnection(std::shared_ptr<Desktop> desktop)
    : DesktopForwarder(std::move(desktop), 0) {
    client_ = desktop_->attach([slot = slot_](const DesktopEvent& event) { slot->deliver(event); });
}

InProcessConnection::~InProcessConnection() {
    desktop_->detach(client_);
}

void InProcessConnection::SinkSlot::deliver(const DesktopEvent& event) {
    reportNews(event);
    EventSink current;
    {
        std::lock_guard lock(mutex);
        current = sink;
    }
    if (current) current(event);
}

void InProcessConnection::setEventSink(EventSink sink) {
    std::lock_guard lock(slot_->mutex);
    slot_->sink = std::move(sink);
}

Pid InProcessConnection::registerClient(const ApplicationSpec& self) {
    pid_ = DesktopForwarder::registerClient(self);
    return pid_;
}

Pid InProcessConnection::clientPid() const {
    return pid_;
}

}  // namespace sim
