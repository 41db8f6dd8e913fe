#include "Base/Foundation/NSUserDefaults.h"

#include "Base/Foundation/MutexLock.h"

NSUserDefaults& NSUserDefaults::standardUserDefaults() {
    static NSUserDefaults defaults;
    return defaults;
}

std::map<std::string, std::any> NSUserDefaults::dictionaryRepresentation() const {
    MutexLock lock(mutex_);
    return values_;
}

std::optional<std::any> NSUserDefaults::objectForKey(const std::string& key) const {
    MutexLock lock(mutex_);
    const auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> NSUserDefaults::stringForKey(const std::string& key) const {
    const auto value = objectForKey(key);
    if (!value) return std::nullopt;
    if (const auto* text = std::any_cast<std::string>(&*value)) return *text;
    return std::nullopt;
}

void NSUserDefaults::setObject(std::any value, const std::string& key) {
    MutexLock lock(mutex_);
    values_[key] = std::move(value);
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
    MutexLock lock(mutex_);
    values_.erase(key);
}
