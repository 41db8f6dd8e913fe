#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "Base/Foundation/DispatchTime.h"
#include "Base/Foundation/DispatchWorkItem.h"

/// Work waiting for its deadline, in deadline order and, for equal deadlines, in the order it
/// was added (across every list of the process, so lists can be merged). Not locked: each
/// owner guards its list.
///
/// Cancelled work is neither counted nor awaited, but it stays in the list until it falls due
/// and is taken like any other entry (running it does nothing): the list never destroys work
/// itself, because the owner holds its lock then, and a block's captures may hand work to the
/// same queue as they go.
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
    /// The first entry due at `now`; with `queue` given, the first of that queue only.
    std::optional<Entry> takeDue(DispatchTime now, std::optional<QueueTag> queue = std::nullopt);
    /// The earliest deadline of work not cancelled.
    std::optional<DispatchTime> nextDeadline() const;
    /// Work not cancelled.
    std::size_t count() const;
    /// Hands every entry over, for the owner to drop once it has let go of its lock.
    TimedWorkList takeAll() { return std::exchange(*this, TimedWorkList()); }

  private:
    using Key = std::pair<DispatchTime, std::uint64_t>;
    std::map<Key, Entry> entries_;
};
