#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "KelvoCore/Tweaks/PreferenceStore.h"

namespace kelvo {

/// Preference domains in memory, with the ways a real store lets a caller down: keys whose
/// writes it ignores, keys whose writes land as another value, and values it cannot describe
/// (seeded as `unrepresentable`, standing for arrays, dates, data). Every call is logged in
/// order: "value(key, domain)", "setValue(number(0), key, domain)", "setValue(none, key,
/// domain)", "synchronize(domain)".
class FakePreferenceStore : public PreferenceStore {
  public:
    std::optional<PreferenceValue> value(const std::string& key,
                                         const std::string& domain) override;
    /// Like the real store, writing `unrepresentable` leaves the key as it is.
    void setValue(const std::optional<PreferenceValue>& value, const std::string& key,
                  const std::string& domain) override;
    void synchronize(const std::string& domain) override;

    /// Puts a value in place (none removes it) without a log line.
    void seed(const std::string& domain, const std::string& key,
              std::optional<PreferenceValue> value);
    /// What the key holds now, without a log line.
    std::optional<PreferenceValue> stored(const std::string& domain, const std::string& key) const;

    /// Writes to the key (or, with no key, to the whole domain) are logged and dropped.
    void ignoreWrites(const std::string& domain, const std::string& key = {});
    /// Writes to the key are logged and store `landing` instead of what was written.
    void landWritesAs(const std::string& domain, const std::string& key, PreferenceValue landing);

    const std::vector<std::string>& calls() const { return calls_; }
    /// The log lines that begin with the given call name ("setValue", "synchronize", …).
    std::vector<std::string> callsOf(const std::string& name) const;
    void clearCalls() { calls_.clear(); }

  private:
    using Place = std::pair<std::string, std::string>;
    bool ignores(const std::string& domain, const std::string& key) const;

    std::map<Place, PreferenceValue> values_;
    std::set<Place> ignored_;
    std::map<Place, PreferenceValue> landings_;
    std::vector<std::string> calls_;
};

}  // namespace kelvo
