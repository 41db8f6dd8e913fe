#pragma once

#include <optional>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Tweaks/PreferenceValue.h"

namespace kelvo {

/// What a preference key held before a tweak wrote it: a value, or nothing at all.
class PreferenceOriginal {
  public:
    enum class Kind { value, absent };

    static PreferenceOriginal value(PreferenceValue value) {
        return PreferenceOriginal(Kind::value, std::move(value));
    }
    static PreferenceOriginal absent() { return PreferenceOriginal(Kind::absent, {}); }

    /// Absent.
    PreferenceOriginal() : PreferenceOriginal(Kind::absent, {}) {}

    Kind kind() const { return kind_; }
    /// The value of `value`; none for `absent`.
    std::optional<PreferenceValue> value() const;

    bool operator==(const PreferenceOriginal&) const = default;

  private:
    PreferenceOriginal(Kind kind, PreferenceValue value) : kind_(kind), value_(std::move(value)) {}

    Kind kind_;
    PreferenceValue value_;
};

/// {"state": "value", "value": {…}} or {"state": "absent"}. A missing "state", or any text
/// but "value", reads as absent.
template <>
struct JSONCoding<PreferenceOriginal> {
    static JSONValue encode(const PreferenceOriginal& original);
    static PreferenceOriginal decode(const JSONNode& node);
};

}  // namespace kelvo
