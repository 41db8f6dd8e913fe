#pragma once

#include <optional>
#include <string>

#include "Simulator/DesktopValues.h"

namespace sim {

/// One Accessibility call a desktop answered, as its call record keeps it, so that tests can
/// assert on the exact sequence of reads and writes a client made.
struct AccessCall {
    enum class Kind {
        copyAttribute,
        /// Several attributes in one message; `name` holds them, space-separated, in order.
        copyAttributes,
        setAttribute,
        isAttributeSettable,
        performAction,
        elementPid,
        windowNumber,
        createObserver,
        addNotification,
        removeNotification,
    };
    Kind kind = Kind::copyAttribute;
    ElementID element;
    /// The window the element stands for; none for application and system-wide elements.
    std::optional<WindowNumber> window;
    /// The process the element (or observer) belongs to.
    Pid pid = 0;
    /// The attribute, action or notification.
    std::string name;
    /// The value written by a set call.
    AttributeValue value;
    /// The messaging timeout the call was made under.
    double timeout = 0;
    AccessError result = AccessError::success;
    bool operator==(const AccessCall&) const = default;
};

}  // namespace sim
