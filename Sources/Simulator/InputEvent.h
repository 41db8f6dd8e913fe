#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/DesktopValues.h"

namespace sim {

/// Event types, as the platform numbers them (so a mask is 1 shifted left by the type).
enum InputType : std::uint32_t {
    inputNull = 0,
    inputLeftMouseDown = 1,
    inputLeftMouseUp = 2,
    inputRightMouseDown = 3,
    inputRightMouseUp = 4,
    inputMouseMoved = 5,
    inputLeftMouseDragged = 6,
    inputRightMouseDragged = 7,
    inputKeyDown = 10,
    inputKeyUp = 11,
    inputFlagsChanged = 12,
    inputScrollWheel = 22,
    inputOtherMouseDown = 25,
    inputOtherMouseUp = 26,
    inputTapDisabledByTimeout = 0xFFFFFFFE,
    inputTapDisabledByUserInput = 0xFFFFFFFF,
};

/// One keyboard or mouse event.
struct InputEvent {
    std::uint32_t type = inputNull;
    std::uint16_t keyCode = 0;
    /// Modifier flags, as the platform numbers them (option 0x80000, command 0x100000, ...).
    std::uint64_t flags = 0;
    /// Global position, top left of the menu-bar display, y down.
    CGPoint location;
    bool autorepeat = false;
    /// The process that posted the event; none for the hardware.
    std::optional<Pid> sourcePid;
    /// The text a key event types (empty for keys that type none, and for mouse events).
    std::string characters;
    /// How far a scroll wheel event moves the content under the pointer, in points (positive:
    /// the content moves down, showing what is above; negative: what is below comes up).
    double scrollDeltaY = 0;
    bool operator==(const InputEvent&) const = default;
};

/// Where a tap sits and what it does, as the platform numbers them.
enum TapLocation : std::uint32_t { tapHID = 0, tapSession = 1, tapAnnotatedSession = 2 };
enum TapPlacement : std::uint32_t { tapHeadInsert = 0, tapTailAppend = 1 };
enum TapOptions : std::uint32_t { tapDefault = 0, tapListenOnly = 1 };

struct TapSpec {
    std::uint32_t location = tapSession;
    std::uint32_t placement = tapHeadInsert;
    std::uint32_t options = tapDefault;
    std::uint64_t eventsOfInterest = 0;
    bool operator==(const TapSpec&) const = default;
};

/// What a client answers for an event its tap was given: the event to pass on (changed or
/// not), or none to swallow it.
struct TapAnswer {
    std::uint64_t delivery = 0;
    std::optional<InputEvent> passed;
};

}  // namespace sim
