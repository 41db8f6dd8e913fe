#pragma once

#include "Base/Foundation/CFType.h"

// The user's preference domains, read and written by application identifier. Of the
// user and host pairs only the current user on any host is kept, which is the pair every
// caller here uses; others read as nothing and take no writes. Values are property-list
// kinds: booleans, numbers, strings, dates, data, arrays and dictionaries of them.

extern const CFStringRef kCFPreferencesAnyApplication;
extern const CFStringRef kCFPreferencesAnyHost;
extern const CFStringRef kCFPreferencesCurrentHost;
extern const CFStringRef kCFPreferencesAnyUser;
extern const CFStringRef kCFPreferencesCurrentUser;

/// The key's value, or null when it is not set (or no desktop answers).
CFTypeRef CFPreferencesCopyValue(const CFStringRef& key, const CFStringRef& applicationID,
                                 const CFStringRef& userName, const CFStringRef& hostName);
/// Null removes the key. A value of a kind no property list holds is not written. Nothing is
/// reported; whether the write was kept shows only in a later read.
void CFPreferencesSetValue(const CFStringRef& key, const CFTypeRef& value,
                           const CFStringRef& applicationID, const CFStringRef& userName,
                           const CFStringRef& hostName);
/// Writes the application's domain out; false when it could not be.
bool CFPreferencesAppSynchronize(const CFStringRef& applicationID);
