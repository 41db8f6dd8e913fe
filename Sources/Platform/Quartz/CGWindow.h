#pragma once

#include <cstdint>

#include "Base/Foundation/CFType.h"
#include "Base/Foundation/CGGeometry.h"

// The window server's list of windows: one dictionary per window, front to back.

using CGWindowID = std::uint32_t;
inline constexpr CGWindowID kCGNullWindowID = 0;

using CGWindowListOption = std::uint32_t;
inline constexpr CGWindowListOption kCGWindowListOptionAll = 0;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenOnly = 1 << 0;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenAboveWindow = 1 << 1;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenBelowWindow = 1 << 2;
inline constexpr CGWindowListOption kCGWindowListOptionIncludingWindow = 1 << 3;
inline constexpr CGWindowListOption kCGWindowListExcludeDesktopElements = 1 << 4;

// Row keys. Numbers are CFNumber; bounds a dictionary with "X", "Y", "Width" and "Height" in
// the top-left convention of Accessibility frames; names CFString; on-screen a CFBoolean.
inline constexpr const char* kCGWindowNumber = "kCGWindowNumber";
inline constexpr const char* kCGWindowLayer = "kCGWindowLayer";
inline constexpr const char* kCGWindowOwnerPID = "kCGWindowOwnerPID";
inline constexpr const char* kCGWindowOwnerName = "kCGWindowOwnerName";
inline constexpr const char* kCGWindowName = "kCGWindowName";
inline constexpr const char* kCGWindowBounds = "kCGWindowBounds";
inline constexpr const char* kCGWindowIsOnscreen = "kCGWindowIsOnscreen";
inline constexpr const char* kCGWindowAlpha = "kCGWindowAlpha";

/// The windows the options select, front to back (higher layers first); an empty array when
/// there is no desktop.
CFArrayRef CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow);

CFDictionaryRef CGRectCreateDictionaryRepresentation(const CGRect& rect);
/// False (and `rect` untouched) unless the dictionary holds the four numbers.
bool CGRectMakeWithDictionaryRepresentation(const CFDictionaryRef& dictionary, CGRect* rect);
