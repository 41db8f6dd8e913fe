#pragma once

#include <utility>
#include <vector>

#include "Base/Foundation/ThreadSafety.h"
#include "Simulator/Desktop.h"

// Inside the desktop's sources only.

namespace sim {

/// Holds the desktop's lock for one operation; once it lets go, delivers the events the
/// operation produced, so that no client code runs under the lock.
class SCOPED_CAPABILITY Desktop::Transaction {
  public:
    explicit Transaction(const Desktop& desktop) ACQUIRE(desktop.mutex_)
        : desktop_(const_cast<Desktop&>(desktop)) {
        desktop_.mutex_.lock();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    ~Transaction() RELEASE() {
        std::vector<std::pair<EventSink, DesktopEvent>> deliveries;
        for (auto& [client, event] : desktop_.outbox_) {
            const auto found = desktop_.clients_.find(client);
            if (found != desktop_.clients_.end() && found->second)
                deliveries.emplace_back(found->second, std::move(event));
        }
        desktop_.outbox_.clear();
        desktop_.mutex_.unlock();
        for (const auto& [sink, event] : deliveries)
            sink(event);
    }

  private:
    Desktop& desktop_;
};

}  // namespace sim
