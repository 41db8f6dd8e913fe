#pragma once

#include <sys/types.h>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Base/Foundation/CFType.h"
#include "Platform/Accessibility/AXError.h"
#include "Platform/Quartz/CGWindow.h"
#include "Simulator/DesktopValues.h"

// Accessibility elements: an application, one of its windows, or the whole system. An element
// is a handle; two handles to one element are `CFEqual`, and a handle outlives the window it
// stands for (calls on it then answer `kAXErrorInvalidUIElement`). Every call on another
// application's element waits at most the element's messaging timeout for the answer.

class AXUIElement final : public CFObject {
  public:
    explicit AXUIElement(sim::ElementID identifier) : identifier_(identifier) {}
    sim::ElementID identifier() const { return identifier_; }
    bool isEqual(const CFObject& other) const override;

    /// Seconds; 0 means the process-wide timeout.
    float messagingTimeout() const { return timeout_.load(); }
    void setMessagingTimeout(float seconds) const { timeout_.store(seconds); }
    /// The timeout calls on this element are made under.
    double effectiveTimeout() const;

  private:
    sim::ElementID identifier_;
    mutable std::atomic<float> timeout_{0};
};
using AXUIElementRef = std::shared_ptr<const AXUIElement>;

AXUIElementRef AXUIElementCreateApplication(pid_t pid);
AXUIElementRef AXUIElementCreateSystemWide();
/// Sets the element's timeout; on the system-wide element, the process-wide one. 0 puts the
/// default back; a negative timeout is refused.
AXError AXUIElementSetMessagingTimeout(const AXUIElementRef& element, float timeoutInSeconds);
/// Reads an attribute. Texts come as CFString, booleans as CFBoolean, numbers as CFNumber,
/// positions and sizes as AXValue, elements as AXUIElement, lists as CFArray.
AXError AXUIElementCopyAttributeValue(const AXUIElementRef& element, const std::string& attribute,
                                      CFTypeRef* value);
/// Options of `AXUIElementCopyMultipleAttributeValues`.
using AXCopyMultipleAttributeOptions = std::uint32_t;
inline constexpr AXCopyMultipleAttributeOptions kAXCopyMultipleAttributeOptionStopOnError = 0x1;
/// Reads several attributes of one element with one message to its application. `values` gets
/// one entry per attribute, in order: its value as `AXUIElementCopyAttributeValue` gives it, or
/// an AXValue of `kAXValueAXErrorType` holding the error that reading it met; with
/// `kAXCopyMultipleAttributeOptionStopOnError` that first error is the call's own instead. An
/// element that cannot be reached at all (gone, or its application does not answer within the
/// messaging timeout) fails the whole call with that error.
AXError AXUIElementCopyMultipleAttributeValues(const AXUIElementRef& element,
                                               const std::vector<std::string>& attributes,
                                               AXCopyMultipleAttributeOptions options,
                                               CFArrayRef* values);
AXError AXUIElementSetAttributeValue(const AXUIElementRef& element, const std::string& attribute,
                                     const CFTypeRef& value);
AXError AXUIElementIsAttributeSettable(const AXUIElementRef& element, const std::string& attribute,
                                       bool* settable);
AXError AXUIElementPerformAction(const AXUIElementRef& element, const std::string& action);
AXError AXUIElementGetPid(const AXUIElementRef& element, pid_t* pid);
/// The window server's number of a window element (a private export of the platform).
AXError _AXUIElementGetWindow(const AXUIElementRef& element, CGWindowID* window);

/// Whether this process may use Accessibility.
bool AXIsProcessTrusted();
/// The same question; with `kAXTrustedCheckOptionPrompt` true in `options` an untrusted
/// process also gets the system's prompt (the answer is the one from before the prompt).
bool AXIsProcessTrustedWithOptions(const CFDictionaryRef& options);
