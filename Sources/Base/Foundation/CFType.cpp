#include "Base/Foundation/CFType.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

bool CFEqual(const CFTypeRef& a, const CFTypeRef& b) {
    if (!a || !b) return !a && !b;
    return a == b || a->isEqual(*b);
}

// ---- Booleans

bool CFBoolean::isEqual(const CFObject& other) const {
    const auto* boolean = dynamic_cast<const CFBoolean*>(&other);
    return boolean && boolean->value_ == value_;
}

const CFBooleanRef kCFBooleanTrue = std::make_shared<const CFBoolean>(true);
const CFBooleanRef kCFBooleanFalse = std::make_shared<const CFBoolean>(false);

bool CFBooleanGetValue(const CFBooleanRef& boolean) {
    return boolean && boolean->value();
}

CFBooleanRef CFBooleanCreate(bool value) {
    return value ? kCFBooleanTrue : kCFBooleanFalse;
}

// ---- Numbers

std::int64_t CFNumber::integerValue() const {
    if (isInteger()) return std::get<std::int64_t>(value_);
    const double value = std::get<double>(value_);
    if (!std::isfinite(value)) return 0;
    constexpr double limit = 9.2e18;
    return static_cast<std::int64_t>(std::clamp(std::trunc(value), -limit, limit));
}

double CFNumber::doubleValue() const {
    if (isInteger()) return static_cast<double>(std::get<std::int64_t>(value_));
    return std::get<double>(value_);
}

bool CFNumber::isEqual(const CFObject& other) const {
    const auto* number = dynamic_cast<const CFNumber*>(&other);
    if (!number) return false;
    if (isInteger() && number->isInteger()) return integerValue() == number->integerValue();
    return doubleValue() == number->doubleValue();
}

CFNumberRef CFNumberCreate(std::int64_t value) {
    return std::make_shared<const CFNumber>(value);
}

CFNumberRef CFNumberCreate(double value) {
    return std::make_shared<const CFNumber>(value);
}

bool CFNumberGetValue(const CFNumberRef& number, CFNumberType type, void* valuePtr) {
    if (!number || !valuePtr) return false;
    const bool exactInteger =
        number->isInteger() || (std::isfinite(number->doubleValue()) &&
                                number->doubleValue() == std::trunc(number->doubleValue()));
    switch (type) {
        case kCFNumberSInt32Type:
        case kCFNumberIntType: {
            const std::int64_t wide = number->integerValue();
            const auto narrow = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(wide, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()));
            std::memcpy(valuePtr, &narrow, sizeof narrow);
            return exactInteger && narrow == wide;
        }
        case kCFNumberSInt64Type: {
            const std::int64_t wide = number->integerValue();
            std::memcpy(valuePtr, &wide, sizeof wide);
            return exactInteger;
        }
        case kCFNumberFloat64Type:
        case kCFNumberDoubleType: {
            const double value = number->doubleValue();
            std::memcpy(valuePtr, &value, sizeof value);
            return true;
        }
    }
    return false;
}

// ---- Texts, arrays, dictionaries

bool CFString::isEqual(const CFObject& other) const {
    const auto* string = dynamic_cast<const CFString*>(&other);
    return string && string->value_ == value_;
}

CFStringRef CFStringCreate(std::string value) {
    return std::make_shared<const CFString>(std::move(value));
}

bool CFArray::isEqual(const CFObject& other) const {
    const auto* array = dynamic_cast<const CFArray*>(&other);
    if (!array || array->values_.size() != values_.size()) return false;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (!CFEqual(values_[i], array->values_[i])) return false;
    }
    return true;
}

CFArrayRef CFArrayCreate(std::vector<CFTypeRef> values) {
    return std::make_shared<const CFArray>(std::move(values));
}

long CFArrayGetCount(const CFArrayRef& array) {
    return array ? static_cast<long>(array->values().size()) : 0;
}

CFTypeRef CFArrayGetValueAtIndex(const CFArrayRef& array, long index) {
    if (!array || index < 0 || index >= CFArrayGetCount(array)) return nullptr;
    return array->values()[static_cast<std::size_t>(index)];
}

bool CFDictionary::isEqual(const CFObject& other) const {
    const auto* dictionary = dynamic_cast<const CFDictionary*>(&other);
    if (!dictionary || dictionary->values_.size() != values_.size()) return false;
    auto mine = values_.begin();
    for (const auto& [key, value] : dictionary->values_) {
        if (mine->first != key || !CFEqual(mine->second, value)) return false;
        ++mine;
    }
    return true;
}

CFDictionaryRef CFDictionaryCreate(std::map<std::string, CFTypeRef> values) {
    return std::make_shared<const CFDictionary>(std::move(values));
}

CFTypeRef CFDictionaryGetValue(const CFDictionaryRef& dictionary, const std::string& key) {
    if (!dictionary) return nullptr;
    const auto found = dictionary->values().find(key);
    return found == dictionary->values().end() ? nullptr : found->second;
}
