#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

// The plain values that cross a desktop connection: identifiers, attribute values and the
// replies of the Accessibility calls. Nothing here points into a desktop, so every value can
// be copied to another thread or written onto a socket.

namespace sim {

using Pid = std::int32_t;
using WindowNumber = std::uint32_t;
using DisplayID = std::uint32_t;
/// Identifies one connection's registrations (observers, taps) inside a desktop.
using ClientID = std::uint64_t;
using ObserverID = std::uint64_t;
using TapID = std::uint64_t;

/// An Accessibility element as the desktop knows it. Two references to one element carry the
/// same `raw`; an element keeps its identifier after its window is gone.
struct ElementID {
    std::uint64_t raw = 0;
    auto operator<=>(const ElementID&) const = default;
};

/// The Accessibility error codes the desktop answers with (the platform's numbers).
enum class AccessError : std::int32_t {
    success = 0,
    failure = -25200,
    illegalArgument = -25201,
    invalidElement = -25202,
    invalidObserver = -25203,
    cannotComplete = -25204,
    attributeUnsupported = -25205,
    actionUnsupported = -25206,
    notificationUnsupported = -25207,
    notImplemented = -25208,
    notificationAlreadyRegistered = -25209,
    notificationNotRegistered = -25210,
    apiDisabled = -25211,
    noValue = -25212,
};

/// One attribute value: nothing, a boolean, a number, a text, a point, a size, an element or
/// a list of elements.
using AttributeValue = std::variant<std::monostate, bool, double, std::string, CGPoint, CGSize,
                                    ElementID, std::vector<ElementID>>;

struct AttributeReply {
    AccessError error = AccessError::success;
    AttributeValue value;
};

struct SettableReply {
    AccessError error = AccessError::success;
    bool settable = false;
};

struct PidReply {
    AccessError error = AccessError::success;
    Pid pid = 0;
};

struct WindowNumberReply {
    AccessError error = AccessError::success;
    WindowNumber number = 0;
};

struct ObserverReply {
    AccessError error = AccessError::success;
    ObserverID observer = 0;
};

}  // namespace sim
