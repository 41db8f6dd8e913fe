#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/Mutex.h"

// Notification centres: blocks registered for a name (and optionally a sender) run for every
// matching post, on the posting thread, or on the queue given at registration.

using NSNotificationName = std::string;

struct NSNotification {
    NSNotificationName name;
    /// The sender; null for none.
    const void* object = nullptr;
    std::map<std::string, std::any> userInfo;
};

/// What `addObserver` returns, for `removeObserver`.
struct NSNotificationToken {
    std::uint64_t identifier = 0;
    bool operator==(const NSNotificationToken&) const = default;
};

class NSNotificationCenter {
  public:
    using Block = std::function<void(const NSNotification&)>;

    NSNotificationCenter() = default;
    NSNotificationCenter(const NSNotificationCenter&) = delete;
    NSNotificationCenter& operator=(const NSNotificationCenter&) = delete;

    /// The process's default centre.
    static NSNotificationCenter& defaultCenter();

    /// `name` empty: every name; `object` null: every sender; `queue` null: the posting thread.
    NSNotificationToken addObserver(const NSNotificationName& name, const void* object,
                                    const DispatchQueue* queue, Block block);
    /// Later posts no longer reach the block (one already handed to a queue still runs).
    void removeObserver(const NSNotificationToken& token);
    void post(const NSNotification& notification);
    void post(const NSNotificationName& name, const void* object = nullptr);
    std::size_t observerCount() const;

  private:
    struct Registration {
        std::uint64_t identifier = 0;
        NSNotificationName name;
        const void* object = nullptr;
        std::optional<DispatchQueue> queue;
        std::shared_ptr<Block> block;
    };

    mutable Mutex mutex_;
    std::vector<Registration> registrations_ GUARDED_BY(mutex_);
    std::uint64_t nextIdentifier_ GUARDED_BY(mutex_) = 1;
};
