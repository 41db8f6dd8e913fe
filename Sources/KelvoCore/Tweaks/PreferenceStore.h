#pragma once

#include <optional>
#include <string>

#include "KelvoCore/Tweaks/PreferenceValue.h"

namespace kelvo {

/// The user's preference domains, as the system tweaks read and write them. Nothing is
/// reported: whether a write took effect is learnt only by reading the key back.
class PreferenceStore {
  public:
    virtual ~PreferenceStore() = default;

    /// None when the key is not set; `unrepresentable` for a value of a kind that cannot be
    /// described.
    virtual std::optional<PreferenceValue> value(const std::string& key,
                                                 const std::string& domain) = 0;
    /// None removes the key. An `unrepresentable` value writes nothing.
    virtual void setValue(const std::optional<PreferenceValue>& value, const std::string& key,
                          const std::string& domain) = 0;
    /// Flushes the domain to disk.
    virtual void synchronize(const std::string& domain) = 0;
};

}  // namespace kelvo
