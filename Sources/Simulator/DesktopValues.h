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
/// same `raw`; an element keeps its identifier after its window is gone. The identifier holds
/// the pid of the element's process above a serial number, as the platform's element holds
/// its pid: an element's pid, an application's element and the system-wide element are known
/// without asking the desktop.
struct ElementID {
    std::uint64_t raw = 0;

    /// An element of the process `pid`; the serial 0 is its application element.
    static constexpr ElementID of(Pid pid, std::uint32_t serial) {
        return ElementID{(std::uint64_t{static_cast<std::uint32_t>(pid)} << 32) | serial};
    }
    /// The application element of `pid` (pid above 0).
    static constexpr ElementID application(Pid pid) { return of(pid, 0); }
    /// The element that stands for the whole system, of no process.
    static constexpr ElementID systemWide() { return of(0, systemWideSerial); }

    constexpr Pid pid() const { return static_cast<Pid>(static_cast<std::uint32_t>(raw >> 32)); }
    constexpr std::uint32_t serial() const { return static_cast<std::uint32_t>(raw); }
    constexpr bool isApplication() const { return serial() == 0 && pid() > 0; }

    auto operator<=>(const ElementID&) const = default;

  private:
    static constexpr std::uint32_t systemWideSerial = 0xFFFFFFFF;
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
