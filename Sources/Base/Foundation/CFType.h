#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// The platform's reference-counted values: booleans, numbers, texts, arrays and dictionaries,
// compared with `CFEqual`. A reference is a shared pointer to an immutable object; a value of
// an unknown kind is narrowed with `CFCast` (none when it is of another kind), as the Parts'
// "as?" casts do.

class CFObject {
  public:
    virtual ~CFObject() = default;
    /// Value equality for values, identity for everything else.
    virtual bool isEqual(const CFObject& other) const { return this == &other; }
};

using CFTypeRef = std::shared_ptr<const CFObject>;

/// True when both are null, or both are set and equal.
bool CFEqual(const CFTypeRef& a, const CFTypeRef& b);

/// `value` as the kind `T`, or null when it is of another kind.
template <class T>
std::shared_ptr<const T> CFCast(const CFTypeRef& value) {
    return std::dynamic_pointer_cast<const T>(value);
}

class CFBoolean final : public CFObject {
  public:
    explicit CFBoolean(bool value) : value_(value) {}
    bool value() const { return value_; }
    bool isEqual(const CFObject& other) const override;

  private:
    bool value_;
};
using CFBooleanRef = std::shared_ptr<const CFBoolean>;
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
bool CFBooleanGetValue(const CFBooleanRef& boolean);
CFBooleanRef CFBooleanCreate(bool value);

/// The kinds a number is asked for, as the platform numbers them.
enum CFNumberType {
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat64Type = 6,
    kCFNumberIntType = 9,
    kCFNumberDoubleType = 13,
};

/// An integer or a floating-point number; integers compare equal to the same double.
class CFNumber final : public CFObject {
  public:
    explicit CFNumber(std::int64_t value) : value_(value) {}
    explicit CFNumber(double value) : value_(value) {}
    bool isInteger() const { return std::holds_alternative<std::int64_t>(value_); }
    std::int64_t integerValue() const;
    double doubleValue() const;
    bool isEqual(const CFObject& other) const override;

  private:
    std::variant<std::int64_t, double> value_;
};
using CFNumberRef = std::shared_ptr<const CFNumber>;
CFNumberRef CFNumberCreate(std::int64_t value);
CFNumberRef CFNumberCreate(double value);
/// Writes the number as `type` into `valuePtr`; false when it does not fit exactly (the
/// value written is then the nearest one), as the platform answers a lossy conversion.
bool CFNumberGetValue(const CFNumberRef& number, CFNumberType type, void* valuePtr);

class CFString final : public CFObject {
  public:
    explicit CFString(std::string value) : value_(std::move(value)) {}
    const std::string& value() const { return value_; }
    bool isEqual(const CFObject& other) const override;

  private:
    std::string value_;
};
using CFStringRef = std::shared_ptr<const CFString>;
CFStringRef CFStringCreate(std::string value);

class CFArray final : public CFObject {
  public:
    explicit CFArray(std::vector<CFTypeRef> values) : values_(std::move(values)) {}
    const std::vector<CFTypeRef>& values() const { return values_; }
    bool isEqual(const CFObject& other) const override;

  private:
    std::vector<CFTypeRef> values_;
};
using CFArrayRef = std::shared_ptr<const CFArray>;
CFArrayRef CFArrayCreate(std::vector<CFTypeRef> values);
long CFArrayGetCount(const CFArrayRef& array);
/// Null for an index out of range.
CFTypeRef CFArrayGetValueAtIndex(const CFArrayRef& array, long index);

/// A dictionary keyed by text, in key order.
class CFDictionary final : public CFObject {
  public:
    explicit CFDictionary(std::map<std::string, CFTypeRef> values) : values_(std::move(values)) {}
    const std::map<std::string, CFTypeRef>& values() const { return values_; }
    bool isEqual(const CFObject& other) const override;

  private:
    std::map<std::string, CFTypeRef> values_;
};
using CFDictionaryRef = std::shared_ptr<const CFDictionary>;
CFDictionaryRef CFDictionaryCreate(std::map<std::string, CFTypeRef> values);
/// Null when the key is absent.
CFTypeRef CFDictionaryGetValue(const CFDictionaryRef& dictionary, const std::string& key);
