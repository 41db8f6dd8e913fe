#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "Platform/Foundation/DispatchTime.h"
#include "Platform/Foundation/DispatchWorkItem.h"

/// Work waiting for its deadline, in deadline order and, for equal deadlines, in the order it
/// was added (across every list of the process, so lists can be merged). Cancelled work is
/// neither counted nor run. Not locked: each owner guards its list.
class TimedWorkList {
  public:
    /// What a queue's work is filed under, so one list can hold several queues' work.
    using QueueTag = const void*;

    struct Entry {
        DispatchTime deadline;
        DispatchWorkItem item;
        QueueTag queue = nullptr;
    };

    void add(DispatchTime deadline, DispatchWorkItem item, QueueTag queue = nullptr);
    /// The first live entry due at `now`; with `queue` given, the first of that queue only.
    std::optional<Entry> takeDue(DispatchTime now, std::optional<QueueTag> queue = std::nullopt);
    std::optional<DispatchTime> nextDeadline();
    std::size_t count();
    /// Drops every entry, live or cancelled.
    void clear() { entries_.clear(); }

  private:
    using Key = std::pair<DispatchTime, std::uint64_t>;
    std::map<Key, Entry> entries_;
};
