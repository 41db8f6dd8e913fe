#pragma once

#include <optional>
#include <string>

#include "Base/Foundation/CFType.h"
#include "KelvoCore/Tweaks/PreferenceStore.h"

namespace kelvo {

/// The preference store of the running system: the current user's domains on any host,
/// through the platform's preferences calls. It keeps no state of its own.
class CFPreferenceStore final : public PreferenceStore {
  public:
    CFPreferenceStore() = default;

    /// "NSGlobalDomain" is the any-application domain; every other domain is an application
    /// identifier as it stands.
    static CFStringRef applicationID(const std::string& domain);

    /// A boolean reads as `bool`, any other number as `number`, a string as `string`, and
    /// every other kind of value as `unrepresentable`.
    std::optional<PreferenceValue> value(const std::string& key,
                                         const std::string& domain) override;
    /// `unrepresentable` returns without touching the store.
    void setValue(const std::optional<PreferenceValue>& value, const std::string& key,
                  const std::string& domain) override;
    /// The platform's answer is not used: a read-back tells whether a write took.
    void synchronize(const std::string& domain) override;

  private:
    static PreferenceValue describe(const CFTypeRef& object);
};

}  // namespace kelvo
