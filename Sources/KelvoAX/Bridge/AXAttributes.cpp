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

/// The attributes' values, in order; null for each one that could not be read (an error
/// value among them included), every one when the element could not be.
std::vector<CFTypeRef> values(const AXUIElementRef& element,
                              const std::vector<std::string>& attributes) {
    std::vector<CFTypeRef> read(attributes.size());
    CFArrayRef answered;
    if (AXUIElementCopyMultipleAttributeValues(element, attributes, 0, &answered) !=
        kAXErrorSuccess) {
        return read;
    }
    for (std::size_t i = 0; i < read.size(); ++i) {
        CFTypeRef value = CFArrayGetValueAtIndex(answered, static_cast<long>(i));
        const AXValueRef wrapped = CFCast<AXValue>(value);
        if (!wrapped || AXValueGetType(wrapped) != kAXValueAXErrorType) read[i] = std::move(value);
    }
    return read;
}

std::optional<CGRect> frameOf(const CFTypeRef& position, const CFTypeRef& size) {
    const auto origin = unpack<CGPoint>(position, kAXValueCGPointType);
    const auto extent = unpack<CGSize>(size, kAXValueCGSizeType);
    if (!origin || !extent) return std::nullopt;
    return CGRect(*origin, *extent);
}

std::optional<std::string> textOf(const CFTypeRef& value) {
    const CFStringRef string = CFCast<CFString>(value);
    if (!string) return std::nullopt;
    return string->value();
}

std::optional<bool> booleanOf(const CFTypeRef& value) {
    const CFBooleanRef flag = CFCast<CFBoolean>(value);
    if (!flag) return std::nullopt;
    return CFBooleanGetValue(flag);
}

}  // namespace

std::optional<CGRect> AXAttributes::frame(const AXUIElementRef& element) {
    const std::vector<CFTypeRef> read = values(element, {kAXPositionAttribute, kAXSizeAttribute});
    return frameOf(read[0], read[1]);
}

AXAttributes::Traits AXAttributes::traits(const AXUIElementRef& element) {
    const std::vector<CFTypeRef> read =
        values(element, {kAXPositionAttribute, kAXSizeAttribute, kAXSubroleAttribute,
                         kAXFullScreenAttribute, kAXMinimizedAttribute});
    return Traits{frameOf(read[0], read[1]), textOf(read[2]), booleanOf(read[3]),
                  booleanOf(read[4])};
}

std::optional<std::string> AXAttributes::text(const AXUIElementRef& element,
                                              const std::string& attribute) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(element, attribute, &value) != kAXErrorSuccess) {
        return std::nullopt;
    }
    return textOf(value);
}

bool AXAttributes::boolean(const AXUIElementRef& element, const std::string& attribute) {
    return optionalBoolean(element, attribute).value_or(false);
}

std::optional<bool> AXAttributes::optionalBoolean(const AXUIElementRef& element,
                                                  const std::string& attribute) {
    CFTypeRef value;
    if (AXUIElementCopyAttributeValue(element, attribute, &value) != kAXErrorSuccess)
        return std::nullopt;
    return booleanOf(value);
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
