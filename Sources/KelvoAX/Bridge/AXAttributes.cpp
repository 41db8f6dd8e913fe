#include "KelvoAX/Bridge/AXAttributes.h"

#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXValue.h"

namespace kelvo {

namespace {

template <class Value>
std::optional<Value> unpack(const CFTypeRef& value, AXValueType type) {
    const AXValueRef wrapped = CFCast<AXValue>(value);
    Value out{};
    if (!wrapped || !AXValueGetValue(wrapped, type, &out)) return std::nullopt;
    return out;
}

}  // namespace

std::optional<CGRect> AXAttributes::frame(const AXUIElementRef& element) {
    CFTypeRef position;
    if (AXUIElementCopyAttributeValue(element, kAXPositionAttribute, &position) !=
        kAXErrorSuccess) {
        return std::nullopt;
    }
    CFTypeRef size;
    if (AXUIElementCopyAttributeValue(element, kAXSizeAttribute, &size) != kAXErrorSuccess) {
        return std::nullopt;
    }
    const auto origin = unpack<CGPoint>(position, kAXValueCGPointType);
    const auto extent = unpack<CGSize>(size, kAXValueCGSizeType);
    if (!origin || !extent) return std::nullopt;
    return CGRect(*origin, *extent);
}

std::optional<std::string> AXAttributes::text(const AXUIElementRef& element,
                                              const std::string& attribute) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(element, attribute, &value) != kAXErrorSuccess) {
        return std::nullopt;
    }
    const CFStringRef string = CFCast<CFString>(value);
    if (!string) return std::nullopt;
    return string->value();
}

bool AXAttributes::boolean(const AXUIElementRef& element, const std::string& attribute) {
    return optionalBoolean(element, attribute).value_or(false);
}

std::optional<bool> AXAttributes::optionalBoolean(const AXUIElementRef& element,
                                                  const std::string& attribute) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(element, attribute, &value) != kAXErrorSuccess)
        return std::nullopt;
    const CFBooleanRef flag = CFCast<CFBoolean>(value);
    if (!flag) return std::nullopt;
    return CFBooleanGetValue(flag);
}

bool AXAttributes::isSettable(const AXUIElementRef& element, const std::string& attribute) {
    bool settable = false;
    return AXUIElementIsAttributeSettable(element, attribute, &settable) == kAXErrorSuccess &&
           settable;
}

void AXAttributes::write(const AXUIElementRef& element, const std::string& attribute, bool value) {
    AXUIElementSetAttributeValue(element, attribute, value ? kCFBooleanTrue : kCFBooleanFalse);
}

void AXAttributes::write(const AXUIElementRef& element, const std::string& attribute,
                         CGPoint value) {
    AXUIElementSetAttributeValue(element, attribute, AXValueCreate(kAXValueCGPointType, &value));
}

void AXAttributes::write(const AXUIElementRef& element, const std::string& attribute,
                         CGSize value) {
    AXUIElementSetAttributeValue(element, attribute, AXValueCreate(kAXValueCGSizeType, &value));
}

std::optional<WindowID> windowID(const AXUIElementRef& element) {
    CGWindowID number = 0;
    if (_AXUIElementGetWindow(element, &number) != kAXErrorSuccess || number == 0) {
        return std::nullopt;
    }
    return WindowID(number);
}

}  // namespace kelvo
