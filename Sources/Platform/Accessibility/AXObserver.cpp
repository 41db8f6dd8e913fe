#include "Platform/Accessibility/AXObserver.h"

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Simulator/SharedConnection.h"

namespace {

// Observers by identifier, so that the desktop's events find theirs; an observer leaves when
// its last reference goes.
struct Registry {
    Mutex mutex;
    std::map<sim::ObserverID, std::weak_ptr<const AXObserver>> observers GUARDED_BY(mutex);

    void receive(const sim::DesktopEvent& event) {
        const auto* notification = std::get_if<sim::ObserverNotification>(&event);
        if (!notification) return;
        std::shared_ptr<const AXObserver> observer;
        {
            MutexLock lock(mutex);
            const auto found = observers.find(notification->observer);
            if (found != observers.end()) observer = found->second.lock();
        }
        if (observer) observer->enqueue(notification->element, notification->name);
    }
};

Registry& registry() {
    static Registry* shared = [] {
        auto* made = new Registry();  // lives as long as the process
        sim::SharedConnection::setHandler(
            sim::SharedConnection::Topic::observers,
            [made](const sim::DesktopEvent& event) { made->receive(event); });
        return made;
    }();
    return *shared;
}

}  // namespace

AXObserver::AXObserver(sim::ObserverID identifier, pid_t pid, AXObserverCallback callback)
    : identifier_(identifier), pid_(pid), callback_(callback) {}

void AXObserver::makeSource() {
    source_ = CFRunLoopSourceCreate([weak = weak_from_this()] {
        if (const auto observer = weak.lock()) observer->deliverPending();
    });
}

AXObserver::~AXObserver() {
    if (source_) CFRunLoopSourceInvalidate(source_);
    {
        MutexLock lock(registry().mutex);
        registry().observers.erase(identifier_);
    }
    sim::SharedConnection::current()->releaseObserver(identifier_);
}

void AXObserver::setContext(sim::ElementID element, const std::string& notification,
                            void* refcon) const {
    MutexLock lock(mutex_);
    contexts_[{element, notification}] = refcon;
}

void AXObserver::forgetContext(sim::ElementID element, const std::string& notification) const {
    MutexLock lock(mutex_);
    contexts_.erase({element, notification});
}

void AXObserver::enqueue(sim::ElementID element, const std::string& notification) const {
    {
        MutexLock lock(mutex_);
        pending_.emplace_back(element, notification);
    }
    CFRunLoopSourceSignal(source_);
}

void AXObserver::deliverPending() const {
    const AXObserverRef self = shared_from_this();
    while (true) {
        std::pair<sim::ElementID, std::string> next;
        void* refcon = nullptr;
        {
            MutexLock lock(mutex_);
            if (pending_.empty()) return;
            next = std::move(pending_.front());
            pending_.pop_front();
            // A notification of a window element may have been added on the application.
            const auto found = contexts_.find(next);
            if (found != contexts_.end()) {
                refcon = found->second;
            } else {
                for (const auto& [key, context] : contexts_) {
                    if (key.second == next.second) refcon = context;
                }
            }
        }
        if (callback_)
            callback_(self, std::make_shared<const AXUIElement>(next.first), next.second, refcon);
    }
}

AXError AXObserverCreate(pid_t application, AXObserverCallback callback, AXObserverRef* observer) {
    if (!observer || !callback) return kAXErrorIllegalArgument;
    Registry& shared = registry();
    const auto reply = sim::SharedConnection::current()->createObserver(application);
    if (reply.error != sim::AccessError::success) return static_cast<AXError>(reply.error);
    auto made = std::make_shared<AXObserver>(reply.observer, application, callback);
    made->makeSource();
    {
        MutexLock lock(shared.mutex);
        shared.observers[reply.observer] = made;
    }
    *observer = std::move(made);
    return kAXErrorSuccess;
}

AXError AXObserverAddNotification(const AXObserverRef& observer, const AXUIElementRef& element,
                                  const std::string& notification, void* refcon) {
    if (!observer || !element) return kAXErrorIllegalArgument;
    observer->setContext(element->identifier(), notification, refcon);
    const auto error = sim::SharedConnection::current()->addNotification(
        observer->identifier(), element->identifier(), notification);
    if (error != sim::AccessError::success &&
        error != sim::AccessError::notificationAlreadyRegistered)
        observer->forgetContext(element->identifier(), notification);
    return static_cast<AXError>(error);
}

AXError AXObserverRemoveNotification(const AXObserverRef& observer, const AXUIElementRef& element,
                                     const std::string& notification) {
    if (!observer || !element) return kAXErrorIllegalArgument;
    const auto error = sim::SharedConnection::current()->removeNotification(
        observer->identifier(), element->identifier(), notification);
    if (error == sim::AccessError::success)
        observer->forgetContext(element->identifier(), notification);
    return static_cast<AXError>(error);
}

CFRunLoopSourceRef AXObserverGetRunLoopSource(const AXObserverRef& observer) {
    return observer ? observer->runLoopSource() : nullptr;
}
