#include "Base/Foundation/MutexLock.h"
#include "Simulator/Desktop.h"

namespace sim {

// Preferences produce no events, so a plain lock is enough here.

void Desktop::setPreference(const std::string& domain, const std::string& key,
                            std::optional<PreferenceData> value) {
    MutexLock lock(mutex_);
    setPreferenceLocked(domain, key, std::move(value));
}

void Desktop::setPreferenceLocked(const std::string& domain, const std::string& key,
                                  std::optional<PreferenceData> value) {
    if (value) {
        preferences_[domain].insert_or_assign(key, std::move(*value));
        return;
    }
    const auto found = preferences_.find(domain);
    if (found == preferences_.end()) return;
    found->second.erase(key);
    if (found->second.empty()) preferences_.erase(found);
}

std::optional<PreferenceData> Desktop::preference(const std::string& domain,
                                                  const std::string& key) const {
    MutexLock lock(mutex_);
    const auto found = preferences_.find(domain);
    if (found == preferences_.end()) return std::nullopt;
    const auto value = found->second.find(key);
    if (value == found->second.end()) return std::nullopt;
    return value->second;
}

void Desktop::setKeepsPreferenceWrites(const std::string& domain, bool keeps) {
    MutexLock lock(mutex_);
    if (keeps) {
        domainsDroppingWrites_.erase(domain);
    } else {
        domainsDroppingWrites_.insert(domain);
    }
}

int Desktop::preferenceSynchronizations(const std::string& domain) const {
    MutexLock lock(mutex_);
    const auto found = preferenceSynchronizations_.find(domain);
    return found == preferenceSynchronizations_.end() ? 0 : found->second;
}

std::optional<PreferenceData> Desktop::copyPreference(const std::string& domain,
                                                      const std::string& key) const {
    return preference(domain, key);
}

void Desktop::writePreference(const std::string& domain, const std::string& key,
                              const std::optional<PreferenceData>& value) {
    MutexLock lock(mutex_);
    if (domainsDroppingWrites_.contains(domain)) return;
    setPreferenceLocked(domain, key, value);
}

bool Desktop::synchronizePreferences(const std::string& domain) {
    MutexLock lock(mutex_);
    ++preferenceSynchronizations_[domain];
    return !domainsDroppingWrites_.contains(domain);
}

}  // namespace sim
