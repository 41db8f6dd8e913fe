#include "Platform/Services/CFPreferences.h"

#include <optional>
#include <string>

#include "Base/Foundation/CFData.h"
#include "Base/Foundation/CFDate.h"
#include "Simulator/PlatformDefaults.h"
#include "Simulator/SharedConnection.h"

const CFStringRef kCFPreferencesAnyApplication = CFStringCreate("kCFPreferencesAnyApplication");
const CFStringRef kCFPreferencesAnyHost = CFStringCreate("kCFPreferencesAnyHost");
const CFStringRef kCFPreferencesCurrentHost = CFStringCreate("kCFPreferencesCurrentHost");
const CFStringRef kCFPreferencesAnyUser = CFStringCreate("kCFPreferencesAnyUser");
const CFStringRef kCFPreferencesCurrentUser = CFStringCreate("kCFPreferencesCurrentUser");

namespace {

using sim::PreferenceData;

/// The desktop's name of the domain; none for a missing identifier or a user and host pair
/// the desktop does not keep.
std::optional<std::string> domainOf(const CFStringRef& applicationID, const CFStringRef& userName,
                                    const CFStringRef& hostName) {
    if (!applicationID || !CFEqual(userName, kCFPreferencesCurrentUser) ||
        !CFEqual(hostName, kCFPreferencesAnyHost)) {
        return std::nullopt;
    }
    if (CFEqual(applicationID, kCFPreferencesAnyApplication)) {
        return sim::PlatformDefaults::globalPreferenceDomain;
    }
    return applicationID->value();
}

CFTypeRef toObject(const PreferenceData& data) {
    using Kind = PreferenceData::Kind;
    switch (data.kind) {
        case Kind::boolean:
            return CFBooleanCreate(data.boolean);
        case Kind::integer:
            return CFNumberCreate(data.integer);
        case Kind::real:
            return CFNumberCreate(data.real);
        case Kind::string:
            return CFStringCreate(data.text);
        case Kind::date:
            return CFDateCreate(data.real);
        case Kind::data:
            return CFDataCreate(data.text);
        case Kind::array: {
            std::vector<CFTypeRef> items;
            for (const PreferenceData& item : data.items)
                items.push_back(toObject(item));
            return CFArrayCreate(std::move(items));
        }
        case Kind::dictionary:
            break;
    }
    std::map<std::string, CFTypeRef> entries;
    for (std::size_t i = 0; i < data.keys.size() && i < data.items.size(); ++i)
        entries.emplace(data.keys[i], toObject(data.items[i]));
    return CFDictionaryCreate(std::move(entries));
}

/// None for an object no property list can hold.
std::optional<PreferenceData> toData(const CFTypeRef& object) {
    if (auto boolean = CFCast<CFBoolean>(object)) {
        return PreferenceData::makeBoolean(boolean->value());
    }
    if (auto number = CFCast<CFNumber>(object)) {
        return number->isInteger() ? PreferenceData::makeInteger(number->integerValue())
                                   : PreferenceData::makeReal(number->doubleValue());
    }
    if (auto string = CFCast<CFString>(object)) return PreferenceData::makeString(string->value());
    if (auto date = CFCast<CFDate>(object)) {
        return PreferenceData::makeDate(date->absoluteTime());
    }
    if (auto data = CFCast<CFData>(object)) return PreferenceData::makeData(data->bytes());
    if (auto array = CFCast<CFArray>(object)) {
        std::vector<PreferenceData> items;
        for (const CFTypeRef& item : array->values()) {
            auto converted = toData(item);
            if (!converted) return std::nullopt;
            items.push_back(std::move(*converted));
        }
        return PreferenceData::makeArray(std::move(items));
    }
    if (auto dictionary = CFCast<CFDictionary>(object)) {
        std::vector<std::pair<std::string, PreferenceData>> entries;
        for (const auto& [key, item] : dictionary->values()) {
            auto converted = toData(item);
            if (!converted) return std::nullopt;
            entries.emplace_back(key, std::move(*converted));
        }
        return PreferenceData::makeDictionary(std::move(entries));
    }
    return std::nullopt;
}

}  // namespace

CFTypeRef CFPreferencesCopyValue(const CFStringRef& key, const CFStringRef& applicationID,
                                 const CFStringRef& userName, const CFStringRef& hostName) {
    const auto domain = domainOf(applicationID, userName, hostName);
    if (!key || !domain) return nullptr;
    const auto data = sim::SharedConnection::current()->copyPreference(*domain, key->value());
    return data ? toObject(*data) : nullptr;
}

void CFPreferencesSetValue(const CFStringRef& key, const CFTypeRef& value,
                           const CFStringRef& applicationID, const CFStringRef& userName,
                           const CFStringRef& hostName) {
    const auto domain = domainOf(applicationID, userName, hostName);
    if (!key || !domain) return;
    std::optional<PreferenceData> data;
    if (value) {
        data = toData(value);
        if (!data) return;
    }
    sim::SharedConnection::current()->writePreference(*domain, key->value(), data);
}

bool CFPreferencesAppSynchronize(const CFStringRef& applicationID) {
    const auto domain = domainOf(applicationID, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    if (!domain) return false;
    return sim::SharedConnection::current()->synchronizePreferences(*domain);
}
