#include "Platform/Quartz/CGWindow.h"

#include "Simulator/SharedConnection.h"

CFArrayRef CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow) {
    std::vector<CFTypeRef> rows;
    for (const auto& row : sim::SharedConnection::current()->windowList(option, relativeToWindow)) {
        rows.push_back(CFDictionaryCreate({
            {kCGWindowNumber, CFNumberCreate(std::int64_t{row.number})},
            {kCGWindowLayer, CFNumberCreate(std::int64_t{row.layer})},
            {kCGWindowOwnerPID, CFNumberCreate(std::int64_t{row.ownerPID})},
            {kCGWindowOwnerName, CFStringCreate(row.ownerName)},
            {kCGWindowName, CFStringCreate(row.name)},
            {kCGWindowBounds, CGRectCreateDictionaryRepresentation(row.bounds)},
            {kCGWindowIsOnscreen, CFBooleanCreate(row.onScreen)},
            {kCGWindowAlpha, CFNumberCreate(row.alpha)},
        }));
    }
    return CFArrayCreate(std::move(rows));
}

CFDictionaryRef CGRectCreateDictionaryRepresentation(const CGRect& rect) {
    return CFDictionaryCreate({
        {"X", CFNumberCreate(rect.origin.x)},
        {"Y", CFNumberCreate(rect.origin.y)},
        {"Width", CFNumberCreate(rect.size.width)},
        {"Height", CFNumberCreate(rect.size.height)},
    });
}

bool CGRectMakeWithDictionaryRepresentation(const CFDictionaryRef& dictionary, CGRect* rect) {
    double values[4];
    const char* keys[4] = {"X", "Y", "Width", "Height"};
    for (int i = 0; i < 4; ++i) {
        const auto number = CFCast<CFNumber>(CFDictionaryGetValue(dictionary, keys[i]));
        if (!number) return false;
        values[i] = number->doubleValue();
    }
    if (rect) *rect = CGRect(values[0], values[1], values[2], values[3]);
    return true;
}
