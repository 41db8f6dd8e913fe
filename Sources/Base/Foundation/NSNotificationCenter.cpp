#include "Base/Foundation/NSNotificationCenter.h"

#include <algorithm>

#include "Base/Foundation/MutexLock.h"

NSNotificationCenter& NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter* center =
        new NSNotificationCenter();  // lives as long as the process
    return *center;
}

NSNotificationToken NSNotificationCenter::addObserver(const NSNotificationName& name,
                                                      const void* object,
                                                      const DispatchQueue* queue, Block block) {
    MutexLock lock(mutex_);
    Registration registration;
    registration.identifier = nextIdentifier_++;
    registration.name = name;
    registration.object = object;
    if (queue) registration.queue = *queue;
    registration.block = std::make_shared<Block>(std::move(block));
    registrations_.push_back(std::move(registration));
    return NSNotificationToken{registrations_.back().identifier};
}

void NSNotificationCenter::removeObserver(const NSNotificationToken& token) {
    MutexLock lock(mutex_);
    std::erase_if(registrations_, [&](const Registration& registration) {
        return registration.identifier == token.identifier;
    });
}

void NSNotificationCenter::post(const NSNotification& notification) {
    std::vector<Registration> matching;
    {
        MutexLock lock(mutex_);
        for (const auto& registration : registrations_) {
            if (!registration.name.empty() && registration.name != notification.name) continue;
            if (registration.object && registration.object != notification.object) continue;
            matching.push_back(registration);
        }
    }
    for (const auto& registration : matching) {
        if (!*registration.block) continue;
        if (registration.queue) {
            registration.queue->async(
                [block = registration.block, notification] { (*block)(notification); });
        } else {
            (*registration.block)(notification);
        }
    }
}

void NSNotificationCenter::post(const NSNotificationName& name, const void* object) {
    post(NSNotification{name, object, {}});
}

std::size_t NSNotificationCenter::observerCount() const {
    MutexLock lock(mutex_);
    return registrations_.size();
}
