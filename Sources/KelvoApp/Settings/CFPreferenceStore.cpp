#include "KelvoApp/Settings/CFPreferenceStore.h"

#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Platform/Services/CFPreferences.h"

namespace kelvo {

CFStringRef CFPreferenceStore::applicationID(const std::string& domain) {
    if (domain == SystemTweakCatalog::globalDomain) return kCFPreferencesAnyApplication;
    return CFStringCreate(domain);
}

std::optional<PreferenceValue> CFPreferenceStore::value(const std::string& key,
                                                        const std::string& domain) {
    const CFTypeRef object =
        CFPreferencesCopyValue(CFStringCreate(key), applicationID(domain),
                               kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    if (!object) return std::nullopt;
    return describe(object);
}

PreferenceValue CFPreferenceStore::describe(const CFTypeRef& object) {
    if (auto boolean = CFCast<CFBoolean>(object)) {
        return PreferenceValue::bool_(CFBooleanGetValue(boolean));
    }
    if (auto number = CFCast<CFNumber>(object)) {
        double value = 0;
        CFNumberGetValue(number, kCFNumberDoubleType, &value);
        return PreferenceValue::number(value);
    }
    if (auto string = CFCast<CFString>(object)) return PreferenceValue::string(string->value());
    return PreferenceValue::unrepresentable();
}

void CFPreferenceStore::setValue(const std::optional<PreferenceValue>& value,
                                 const std::string& key, const std::string& domain) {
    CFTypeRef object;
    if (value) {
        if (auto b = value->boolValue()) {
            object = *b ? kCFBooleanTrue : kCFBooleanFalse;
        } else if (auto n = value->numberValue()) {
            object = CFNumberCreate(*n);
        } else if (auto s = value->stringValue()) {
            object = CFStringCreate(*s);
        } else {
            return;
        }
    }
    CFPreferencesSetValue(CFStringCreate(key), object, applicationID(domain),
                          kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

void CFPreferenceStore::synchronize(const std::string& domain) {
    CFPreferencesAppSynchronize(applicationID(domain));
}

}  // namespace kelvo
