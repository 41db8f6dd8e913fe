#include "Platform/Accessibility/AXUIElement.h"

#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXValue.h"
#include "Simulator/PlatformDefaults.h"
#include "Simulator/SharedConnection.h"

namespace {

std::atomic<float> processTimeout{0};

CFTypeRef toCF(const sim::AttributeValue& value) {
    struct Convert {
        CFTypeRef operator()(std::monostate) const { return nullptr; }
        CFTypeRef operator()(bool flag) const { return CFBooleanCreate(flag); }
        CFTypeRef operator()(double number) const { return CFNumberCreate(number); }
        CFTypeRef operator()(const std::string& text) const { return CFStringCreate(text); }
        CFTypeRef operator()(CGPoint point) const {
            return AXValueCreate(kAXValueCGPointType, &point);
        }
        CFTypeRef operator()(CGSize size) const { return AXValueCreate(kAXValueCGSizeType, &size); }
        CFTypeRef operator()(sim::ElementID id) const {
            return std::make_shared<const AXUIElement>(id);
        }
        CFTypeRef operator()(const std::vector<sim::ElementID>& ids) const {
            std::vector<CFTypeRef> elements;
            elements.reserve(ids.size());
            for (const auto id : ids)
                elements.push_back(std::make_shared<const AXUIElement>(id));
            return CFArrayCreate(std::move(elements));
        }
    };
    return std::visit(Convert{}, value);
}

std::optional<sim::AttributeValue> fromCF(const CFTypeRef& value) {
    if (const auto boolean = CFCast<CFBoolean>(value)) return boolean->value();
    if (const auto number = CFCast<CFNumber>(value)) return number->doubleValue();
    if (const auto text = CFCast<CFString>(value)) return text->value();
    if (const auto element = CFCast<AXUIElement>(value)) return element->identifier();
    if (const auto geometry = CFCast<AXValue>(value)) {
        CGPoint point;
        CGSize size;
        if (geometry->copy(kAXValueCGPointType, &point)) return point;
        if (geometry->copy(kAXValueCGSizeType, &size)) return size;
    }
    return std::nullopt;
}

AXError code(sim::AccessError error) {
    return static_cast<AXError>(error);
}

/// An error that is about the element rather than one of its attributes: nothing of it reads.
bool reachesNoElement(sim::AccessError error) {
    return error == sim::AccessError::cannotComplete || error == sim::AccessError::invalidElement ||
           error == sim::AccessError::apiDisabled || error == sim::AccessError::illegalArgument;
}

}  // namespace

bool AXUIElement::isEqual(const CFObject& other) const {
    const auto* element = dynamic_cast<const AXUIElement*>(&other);
    return element && element->identifier_ == identifier_;
}

double AXUIElement::effectiveTimeout() const {
    if (const float own = timeout_.load(); own > 0) return own;
    if (const float shared = processTimeout.load(); shared > 0) return shared;
    return sim::PlatformDefaults::messagingTimeout;
}

// An element holds its process's pid, so making one, telling its pid and setting its timeout
// never ask the desktop.

AXUIElementRef AXUIElementCreateApplication(pid_t pid) {
    return std::make_shared<const AXUIElement>(pid > 0 ? sim::ElementID::application(pid)
                                                       : sim::ElementID{});
}

AXUIElementRef AXUIElementCreateSystemWide() {
    return std::make_shared<const AXUIElement>(sim::ElementID::systemWide());
}

AXError AXUIElementSetMessagingTimeout(const AXUIElementRef& element, float timeoutInSeconds) {
    if (!element || timeoutInSeconds < 0) return kAXErrorIllegalArgument;
    if (element->identifier() == sim::ElementID::systemWide()) {
        processTimeout.store(timeoutInSeconds);
    } else {
        element->setMessagingTimeout(timeoutInSeconds);
    }
    return kAXErrorSuccess;
}

AXError AXUIElementCopyAttributeValue(const AXUIElementRef& element, const std::string& attribute,
                                      CFTypeRef* value) {
    if (!element || !value) return kAXErrorIllegalArgument;
    const auto reply = sim::SharedConnection::current()->copyAttribute(
        element->identifier(), attribute, element->effectiveTimeout());
    if (reply.error == sim::AccessError::success) *value = toCF(reply.value);
    return code(reply.error);
}

AXError AXUIElementCopyMultipleAttributeValues(const AXUIElementRef& element,
                                               const std::vector<std::string>& attributes,
                                               AXCopyMultipleAttributeOptions options,
                                               CFArrayRef* values) {
    if (!element || !values) return kAXErrorIllegalArgument;
    const auto replies = sim::SharedConnection::current()->copyAttributes(
        element->identifier(), attributes, element->effectiveTimeout());
    if (replies.size() != attributes.size()) return kAXErrorCannotComplete;
    std::vector<CFTypeRef> read;
    read.reserve(replies.size());
    for (const sim::AttributeReply& reply : replies) {
        const AXError error = code(reply.error);
        if (reachesNoElement(reply.error)) return error;
        if (error == kAXErrorSuccess) {
            read.push_back(toCF(reply.value));
        } else if (options & kAXCopyMultipleAttributeOptionStopOnError) {
            return error;
        } else {
            read.push_back(AXValueCreate(kAXValueAXErrorType, &error));
        }
    }
    *values = CFArrayCreate(std::move(read));
    return kAXErrorSuccess;
}

AXError AXUIElementSetAttributeValue(const AXUIElementRef& element, const std::string& attribute,
                                     const CFTypeRef& value) {
    if (!element) return kAXErrorIllegalArgument;
    const auto converted = fromCF(value);
    if (!converted) return kAXErrorIllegalArgument;
    return code(sim::SharedConnection::current()->setAttribute(
        element->identifier(), attribute, *converted, element->effectiveTimeout()));
}

AXError AXUIElementIsAttributeSettable(const AXUIElementRef& element, const std::string& attribute,
                                       bool* settable) {
    if (!element || !settable) return kAXErrorIllegalArgument;
    const auto reply = sim::SharedConnection::current()->isAttributeSettable(
        element->identifier(), attribute, element->effectiveTimeout());
    if (reply.error == sim::AccessError::success) *settable = reply.settable;
    return code(reply.error);
}

AXError AXUIElementPerformAction(const AXUIElementRef& element, const std::string& action) {
    if (!element) return kAXErrorIllegalArgument;
    return code(sim::SharedConnection::current()->performAction(element->identifier(), action,
                                                                element->effectiveTimeout()));
}

AXError AXUIElementGetPid(const AXUIElementRef& element, pid_t* pid) {
    if (!element || !pid) return kAXErrorIllegalArgument;
    // The system-wide element belongs to no process.
    if (element->identifier().pid() <= 0) return kAXErrorIllegalArgument;
    *pid = element->identifier().pid();
    return kAXErrorSuccess;
}

AXError _AXUIElementGetWindow(const AXUIElementRef& element, CGWindowID* window) {
    if (!element || !window) return kAXErrorIllegalArgument;
    const auto reply = sim::SharedConnection::current()->windowNumber(element->identifier());
    if (reply.error == sim::AccessError::success) *window = reply.number;
    return code(reply.error);
}

bool AXIsProcessTrusted() {
    return sim::SharedConnection::current()->isTrusted();
}

bool AXIsProcessTrustedWithOptions(const CFDictionaryRef& options) {
    const auto prompt =
        CFCast<CFBoolean>(CFDictionaryGetValue(options, kAXTrustedCheckOptionPrompt));
    return sim::SharedConnection::current()->checkTrust(prompt && prompt->value());
}
