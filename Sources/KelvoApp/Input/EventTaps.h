#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

/// One event as a tap sees it: its flags, the keyboard key code field and its location in
/// top-left global coordinates.
struct TapEvent {
    std::uint64_t flags = 0;
    std::int64_t keyCode = 0;
    CGPoint location;
    bool operator==(const TapEvent&) const = default;
};

/// The event-tap machinery of the window server as the input services use it: session-level
/// taps at the head of the list, their run-loop sources on the main run loop in the common
/// modes. The program's implementation is the platform's; suites deliver events by hand.
class EventTaps {
  public:
    static constexpr std::uint32_t leftMouseDown = 1;
    static constexpr std::uint32_t mouseMoved = 5;
    static constexpr std::uint32_t keyDown = 10;
    static constexpr std::uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
    static constexpr std::uint32_t tapDisabledByUserInput = 0xFFFFFFFF;

    static constexpr std::uint64_t maskOf(std::uint32_t type) { return std::uint64_t{1} << type; }

    /// The callback answers the event to pass it on, or none to swallow it.
    using Callback = std::function<std::optional<TapEvent>(std::uint32_t type, const TapEvent&)>;
    /// A tap and its run-loop source.
    using Tap = int;

    virtual ~EventTaps() = default;
    /// An active filter, or a listener that cannot change events; none when the tap or its
    /// source cannot be made.
    virtual std::optional<Tap> create(std::uint64_t mask, bool listenOnly, Callback callback) = 0;
    virtual void enable(Tap tap, bool enabled) = 0;
    virtual void addSource(Tap tap) = 0;
    /// Removes the source; the tap is released with it.
    virtual void removeSource(Tap tap) = 0;
};

}  // namespace kelvo
