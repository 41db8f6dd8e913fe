#include "KelvoAX/Bridge/ScreenWindows.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "Platform/Quartz/CGWindow.h"

namespace kelvo {

namespace {

/// An integral number within the range of `Int`; none for anything else.
template <class Int>
std::optional<Int> integer(const CFDictionaryRef& row, const char* key) {
    const CFNumberRef number = CFCast<CFNumber>(CFDictionaryGetValue(row, key));
    std::int64_t value = 0;
    if (!number || !CFNumberGetValue(number, kCFNumberSInt64Type, &value)) return std::nullopt;
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
        return std::nullopt;
    }
    return static_cast<Int>(value);
}

std::optional<ScreenWindow> screenWindow(const CFDictionaryRef& row) {
    const auto number = integer<std::uint32_t>(row, kCGWindowNumber);
    const auto layer = integer<std::int32_t>(row, kCGWindowLayer);
    const auto pid = integer<std::int32_t>(row, kCGWindowOwnerPID);
    const CFDictionaryRef bounds = CFCast<CFDictionary>(CFDictionaryGetValue(row, kCGWindowBounds));
    CGRect rect;
    if (!number || *number == 0 || !layer || !pid || !bounds ||
        !CGRectMakeWithDictionaryRepresentation(bounds, &rect)) {
        return std::nullopt;
    }
    return ScreenWindow{WindowID(*number), rect, *layer, *pid};
}

}  // namespace

std::vector<ScreenWindow> ScreenWindows::onScreen() {
    std::vector<ScreenWindow> windows;
    const CFArrayRef rows = CGWindowListCopyWindowInfo(
        kCGWindowListOptionOnScreenOnly | kCGWindowListExcludeDesktopElements, kCGNullWindowID);
    if (!rows) return windows;
    for (const CFTypeRef& entry : rows->values()) {
        const CFDictionaryRef row = CFCast<CFDictionary>(entry);
        if (!row) continue;
        if (auto window = screenWindow(row)) windows.push_back(*window);
    }
    return windows;
}

}  // namespace kelvo
