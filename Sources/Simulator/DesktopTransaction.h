#pragma once

#include <mutex>
#include <utility>
#include <vector>

#include "Simulator/Desktop.h"

// Inside the desktop's sources only.

namespace sim {

/// Holds the desktop's lock for one operation; once it lets go, delivers the events the
/// operation produced, so that no client code runs under the lock.
class Desktop::Transaction {
  public:
    explicit Transaction(const Desktop& desktop)
        : desktop_(const_cast<Desktop&>(desktop)), lock_(desktop.mutex_) {}
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    ~Transaction() {
        std::vector<std::pair<EventSink, DesktopEvent>> deliveries;
        for (auto& [client, event] : desktop_.outbox_) {
            const auto found = desktop_.clients_.find(client);
            if (found != desktop_.clients_.end() && found->second)
                deliveries.emplace_back(found->second, std::move(event));
        }
        desktop_.outbox_.clear();
        lock_.unlock();
        for (const auto& [sink, event] : deliveries)
            sink(event);
    }

  private:
    Desktop& desktop_;
    std::unique_lock<std::mutex> lock_;
};

}  // namespace sim
