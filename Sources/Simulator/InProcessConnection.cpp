#include "Simulator/InProcessConnection.h"

#include <chrono>
#include <thread>

#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/MutexLock.h"
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
        MutexLock lock(mutex);
        current = sink;
    }
    if (current) current(event);
}

void InProcessConnection::setEventSink(EventSink sink) {
    MutexLock lock(slot_->mutex);
    slot_->sink = std::move(sink);
}

Pid InProcessConnection::registerClient(const ApplicationSpec& self) {
    pid_ = DesktopForwarder::registerClient(self);
    return pid_;
}

Pid InProcessConnection::clientPid() const {
    return pid_;
}

void InProcessConnection::awaitAnswer(ElementID element, double timeout) const {
    const double wait = desktop_->answerWait(element, timeout);
    if (!(wait > 0)) return;
    if (ManualClock* clock = ManualClock::active()) {
        clock->elapse(wait);
        return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(wait));
}

AttributeReply InProcessConnection::copyAttribute(ElementID element, const std::string& attribute,
                                                  double timeout) {
    awaitAnswer(element, timeout);
    return DesktopForwarder::copyAttribute(element, attribute, timeout);
}

AccessError InProcessConnection::setAttribute(ElementID element, const std::string& attribute,
                                              const AttributeValue& value, double timeout) {
    awaitAnswer(element, timeout);
    return DesktopForwarder::setAttribute(element, attribute, value, timeout);
}

SettableReply InProcessConnection::isAttributeSettable(ElementID element,
                                                       const std::string& attribute,
                                                       double timeout) {
    awaitAnswer(element, timeout);
    return DesktopForwarder::isAttributeSettable(element, attribute, timeout);
}

AccessError InProcessConnection::performAction(ElementID element, const std::string& action,
                                               double timeout) {
    awaitAnswer(element, timeout);
    return DesktopForwarder::performAction(element, action, timeout);
}

}  // namespace sim
