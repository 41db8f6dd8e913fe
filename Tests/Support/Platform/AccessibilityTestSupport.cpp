#include "Support/Platform/AccessibilityTestSupport.h"

namespace kelvo {

std::optional<std::vector<AXUIElementRef>> windowsOf(const AXUIElementRef& application) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(application, kAXWindowsAttribute, &value) != kAXErrorSuccess)
        return std::nullopt;
    const auto array = CFCast<CFArray>(value);
    if (!array) return std::nullopt;
    std::vector<AXUIElementRef> windows;
    for (const auto& entry : array->values()) {
        if (const auto element = CFCast<AXUIElement>(entry)) windows.push_back(element);
    }
    return windows;
}

AXUIElementRef windowElement(pid_t pid, CGWindowID number) {
    const auto windows = windowsOf(AXUIElementCreateApplication(pid));
    if (!windows) return nullptr;
    for (const auto& window : *windows) {
        CGWindowID found = 0;
        if (_AXUIElementGetWindow(window, &found) == kAXErrorSuccess && found == number)
            return window;
    }
    return nullptr;
}

std::optional<CGRect> frameOf(const AXUIElementRef& window) {
    CFTypeRef position;
    CFTypeRef size;
    if (AXUIElementCopyAttributeValue(window, kAXPositionAttribute, &position) != kAXErrorSuccess ||
        AXUIElementCopyAttributeValue(window, kAXSizeAttribute, &size) != kAXErrorSuccess)
        return std::nullopt;
    CGPoint origin;
    CGSize extent;
    if (!AXValueGetValue(CFCast<AXValue>(position), kAXValueCGPointType, &origin) ||
        !AXValueGetValue(CFCast<AXValue>(size), kAXValueCGSizeType, &extent))
        return std::nullopt;
    return CGRect(origin, extent);
}

AXError writePosition(const AXUIElementRef& window, CGPoint position) {
    return AXUIElementSetAttributeValue(window, kAXPositionAttribute,
                                        AXValueCreate(kAXValueCGPointType, &position));
}

AXError writeSize(const AXUIElementRef& window, CGSize size) {
    return AXUIElementSetAttributeValue(window, kAXSizeAttribute,
                                        AXValueCreate(kAXValueCGSizeType, &size));
}

std::optional<std::string> textOf(const AXUIElementRef& element, const std::string& attribute) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(element, attribute, &value) != kAXErrorSuccess)
        return std::nullopt;
    const auto text = CFCast<CFString>(value);
    if (!text) return std::nullopt;
    return text->value();
}

}  // namespace kelvo
