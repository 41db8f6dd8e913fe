#include "Base/Foundation/TimedWorkList.h"

#include <algorithm>
#include <atomic>

namespace {

// One sequence for the whole process, so that work filed at the same deadline on different
// threads keeps the order in which it was handed over.
std::uint64_t nextSequence() {
    static std::atomic<std::uint64_t> sequence{0};
    return sequence.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void TimedWorkList::add(DispatchTime deadline, DispatchWorkItem item, QueueTag queue) {
    entries_.emplace(Key{deadline, nextSequence()}, Entry{deadline, std::move(item), queue});
}

std::optional<TimedWorkList::Entry> TimedWorkList::takeDue(DispatchTime now,
                                                           std::optional<QueueTag> queue) {
    for (auto it = entries_.begin(); it != entries_.end() && it->first.first <= now; ++it) {
        if (queue && it->second.queue != *queue) continue;
        Entry entry = std::move(it->second);
        entries_.erase(it);
        return entry;
    }
    return std::nullopt;
}

std::optional<DispatchTime> TimedWorkList::nextDeadline() const {
    for (const auto& [key, entry] : entries_) {
        if (!entry.item.isCancelled()) return key.first;
    }
    return std::nullopt;
}

std::size_t TimedWorkList::count() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const auto& pair) { return !pair.second.item.isCancelled(); }));
}
