#pragma once

#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// What a preference key can hold, as far as the system can describe and restore it. Every
/// number is a double; anything else (data, dates, arrays, dictionaries) is `unrepresentable`:
/// it can be recognised but never written back.
class PreferenceValue {
  public:
    enum class Kind { bool_, number, string, unrepresentable };

    static PreferenceValue bool_(bool value) {
        PreferenceValue v(Kind::bool_);
        v.boolPayload_ = value;
        return v;
    }
    static PreferenceValue number(double value) {
        PreferenceValue v(Kind::number);
        v.numberPayload_ = value;
        return v;
    }
    static PreferenceValue string(std::string value) {
        PreferenceValue v(Kind::string);
        v.stringPayload_ = std::move(value);
        return v;
    }
    static PreferenceValue unrepresentable() { return PreferenceValue(Kind::unrepresentable); }

    /// Unrepresentable, so that an empty slot never pretends to hold a writable value.
    PreferenceValue() : PreferenceValue(Kind::unrepresentable) {}

    Kind kind() const { return kind_; }
    std::optional<bool> boolValue() const;
    std::optional<double> numberValue() const;
    std::optional<std::string> stringValue() const;

    /// For logs: "bool(false)", "number(0.001)", "string(\"x\")", "unrepresentable".
    std::string description() const;

    /// Same case and equal payload; numbers by exact floating equality.
    bool operator==(const PreferenceValue&) const = default;

  private:
    explicit PreferenceValue(Kind kind) : kind_(kind) {}

    Kind kind_;
    bool boolPayload_ = false;
    double numberPayload_ = 0;
    std::string stringPayload_;
};

/// {"type": "bool" | "number" | "string", "value": …} or {"type": "unrepresentable"}. A
/// missing or unknown "type" reads as unrepresentable; a known one needs a "value" of its kind.
template <>
struct JSONCoding<PreferenceValue> {
    static JSONValue encode(const PreferenceValue& value);
    static PreferenceValue decode(const JSONNode& node);
};

}  // namespace kelvo
