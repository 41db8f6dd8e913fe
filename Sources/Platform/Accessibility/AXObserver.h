#pragma once

#include <sys/types.h>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Base/Foundation/CFRunLoop.h"
#include "Base/Foundation/Mutex.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Simulator/DesktopValues.h"

// Observers of one application's Accessibility notifications. A notification is delivered by
// the observer's run-loop source: on the thread of whichever run loop the source was added to,
// one callback per notification, in the order the application sent them.

class AXObserver;
using AXObserverRef = std::shared_ptr<const AXObserver>;
/// Called with the observer, the element the notification is about, its name and the context
/// given when the notification was added.
using AXObserverCallback = void (*)(AXObserverRef observer, AXUIElementRef element,
                                    const std::string& notification, void* refcon);

class AXObserver final : public CFObject, public std::enable_shared_from_this<AXObserver> {
  public:
    AXObserver(sim::ObserverID identifier, pid_t pid, AXObserverCallback callback);
    ~AXObserver() override;
    AXObserver(const AXObserver&) = delete;
    AXObserver& operator=(const AXObserver&) = delete;

    sim::ObserverID identifier() const { return identifier_; }
    pid_t pid() const { return pid_; }
    const CFRunLoopSourceRef& runLoopSource() const { return source_; }

    // For the stand-in's own use.
    void setContext(sim::ElementID element, const std::string& notification, void* refcon) const;
    void forgetContext(sim::ElementID element, const std::string& notification) const;
    /// Queues a notification and signals the source.
    void enqueue(sim::ElementID element, const std::string& notification) const;
    /// Makes the run-loop source; called once the observer is owned by a shared pointer.
    void makeSource();

  private:
    void deliverPending() const;

    sim::ObserverID identifier_;
    pid_t pid_;
    AXObserverCallback callback_;
    CFRunLoopSourceRef source_;
    mutable Mutex mutex_;
    mutable std::deque<std::pair<sim::ElementID, std::string>> pending_ GUARDED_BY(mutex_);
    mutable std::map<std::pair<sim::ElementID, std::string>, void*> contexts_ GUARDED_BY(mutex_);
};

AXError AXObserverCreate(pid_t application, AXObserverCallback callback, AXObserverRef* observer);
AXError AXObserverAddNotification(const AXObserverRef& observer, const AXUIElementRef& element,
                                  const std::string& notification, void* refcon);
AXError AXObserverRemoveNotification(const AXObserverRef& observer, const AXUIElementRef& element,
                                     const std::string& notification);
CFRunLoopSourceRef AXObserverGetRunLoopSource(const AXObserverRef& observer);
