#include "Platform/Quartz/CGEventTap.h"

#include <map>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Simulator/SharedConnection.h"

namespace {

// Taps by identifier, so that the desktop's events find their port.
struct Registry {
    Mutex mutex;
    std::map<std::uint64_t, std::weak_ptr<CFMachPort>> ports GUARDED_BY(mutex);

    void receive(const sim::DesktopEvent& event) {
        const auto* delivery = std::get_if<sim::TapEventDelivery>(&event);
        if (!delivery) return;
        std::shared_ptr<CFMachPort> port;
        {
            MutexLock lock(mutex);
            const auto found = ports.find(delivery->tap);
            if (found != ports.end()) port = found->second.lock();
        }
        if (port) {
            port->receive(*delivery);
        } else if (delivery->delivery != 0) {
            // Nobody will answer: the event goes on at once.
            sim::SharedConnection::current()->answerTapEvent({delivery->delivery, delivery->event});
        }
    }
};

Registry& registry() {
    static Registry* shared = [] {
        auto* made = new Registry();  // lives as long as the process
        sim::SharedConnection::setHandler(
            sim::SharedConnection::Topic::taps,
            [made](const sim::DesktopEvent& event) { made->receive(event); });
        return made;
    }();
    return *shared;
}

}  // namespace

CFMachPort::CFMachPort(std::uint64_t tap, CGEventTapCallBack callback, void* userInfo)
    : tap_(tap), callback_(callback), userInfo_(userInfo) {}

CFMachPort::~CFMachPort() {
    invalidate();
}

CFRunLoopSourceRef CFMachPort::runLoopSource() {
    MutexLock lock(mutex_);
    if (!valid_) return nullptr;
    if (!source_) {
        source_ = CFRunLoopSourceCreate([weak = weak_from_this()] {
            if (const auto port = weak.lock()) port->deliverPending();
        });
        if (!pending_.empty()) CFRunLoopSourceSignal(source_);
    }
    return source_;
}

bool CFMachPort::isValid() const {
    MutexLock lock(mutex_);
    return valid_;
}

void CFMachPort::invalidate() {
    CFRunLoopSourceRef source;
    {
        MutexLock lock(mutex_);
        if (!valid_) return;
        valid_ = false;
        source = source_;
        pending_.clear();
    }
    if (source) CFRunLoopSourceInvalidate(source);
    {
        MutexLock lock(registry().mutex);
        registry().ports.erase(tap_);
    }
    sim::SharedConnection::current()->releaseTap(tap_);
}

void CFMachPort::receive(const sim::TapEventDelivery& delivery) {
    CFRunLoopSourceRef source;
    {
        MutexLock lock(mutex_);
        if (!valid_) return;
        pending_.push_back(delivery);
        source = source_;
    }
    if (source) CFRunLoopSourceSignal(source);
}

void CFMachPort::deliverPending() {
    while (true) {
        sim::TapEventDelivery next;
        {
            MutexLock lock(mutex_);
            if (!valid_ || pending_.empty()) return;
            next = pending_.front();
            pending_.pop_front();
        }
        auto event = std::make_shared<CGEvent>(next.event);
        const CGEventRef result =
            callback_ ? callback_(nullptr, next.event.type, event, userInfo_) : event;
        if (next.delivery == 0) continue;  // listen-only, or a notice that needs no answer
        sim::TapAnswer answer{next.delivery, std::nullopt};
        if (result) answer.passed = result->input();
        sim::SharedConnection::current()->answerTapEvent(answer);
    }
}

CFMachPortRef CGEventTapCreate(CGEventTapLocation tap, CGEventTapPlacement place,
                               CGEventTapOptions options, CGEventMask eventsOfInterest,
                               CGEventTapCallBack callback, void* userInfo) {
    if (!callback) return nullptr;
    Registry& shared = registry();
    const auto id = sim::SharedConnection::current()->createTap(
        sim::TapSpec{tap, place, options, eventsOfInterest});
    if (id == 0) return nullptr;
    auto port = std::make_shared<CFMachPort>(id, callback, userInfo);
    MutexLock lock(shared.mutex);
    shared.ports[id] = port;
    return port;
}

void CGEventTapEnable(const CFMachPortRef& tap, bool enable) {
    if (tap && tap->isValid()) sim::SharedConnection::current()->enableTap(tap->tap(), enable);
}

bool CGEventTapIsEnabled(const CFMachPortRef& tap) {
    return tap && tap->isValid() && sim::SharedConnection::current()->isTapEnabled(tap->tap());
}

CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef, const CFMachPortRef& port,
                                                 CFIndex) {
    return port ? port->runLoopSource() : nullptr;
}

void CFMachPortInvalidate(const CFMachPortRef& port) {
    if (port) port->invalidate();
}
