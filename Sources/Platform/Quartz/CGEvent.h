#pragma once

#include <sys/types.h>
#include <cstdint>
#include <memory>

#include "Base/Foundation/CFType.h"
#include "Base/Foundation/CGGeometry.h"
#include "Simulator/InputEvent.h"

// Keyboard and mouse events: their types, flags, fields and locations, creating them and
// posting them into the desktop's event stream.

using CGEventType = std::uint32_t;
inline constexpr CGEventType kCGEventNull = 0;
inline constexpr CGEventType kCGEventLeftMouseDown = 1;
inline constexpr CGEventType kCGEventLeftMouseUp = 2;
inline constexpr CGEventType kCGEventRightMouseDown = 3;
inline constexpr CGEventType kCGEventRightMouseUp = 4;
inline constexpr CGEventType kCGEventMouseMoved = 5;
inline constexpr CGEventType kCGEventLeftMouseDragged = 6;
inline constexpr CGEventType kCGEventRightMouseDragged = 7;
inline constexpr CGEventType kCGEventKeyDown = 10;
inline constexpr CGEventType kCGEventKeyUp = 11;
inline constexpr CGEventType kCGEventFlagsChanged = 12;
inline constexpr CGEventType kCGEventOtherMouseDown = 25;
inline constexpr CGEventType kCGEventOtherMouseUp = 26;
/// Told to a tap that the system disabled because its callback answered too late.
inline constexpr CGEventType kCGEventTapDisabledByTimeout = 0xFFFFFFFE;
inline constexpr CGEventType kCGEventTapDisabledByUserInput = 0xFFFFFFFF;

using CGEventMask = std::uint64_t;
constexpr CGEventMask CGEventMaskBit(CGEventType type) {
    return type < 64 ? CGEventMask{1} << type : 0;
}

using CGEventFlags = std::uint64_t;
inline constexpr CGEventFlags kCGEventFlagMaskAlphaShift = 0x00010000;
inline constexpr CGEventFlags kCGEventFlagMaskShift = 0x00020000;
inline constexpr CGEventFlags kCGEventFlagMaskControl = 0x00040000;
inline constexpr CGEventFlags kCGEventFlagMaskAlternate = 0x00080000;
inline constexpr CGEventFlags kCGEventFlagMaskCommand = 0x00100000;
inline constexpr CGEventFlags kCGEventFlagMaskNumericPad = 0x00200000;
inline constexpr CGEventFlags kCGEventFlagMaskHelp = 0x00400000;
inline constexpr CGEventFlags kCGEventFlagMaskSecondaryFn = 0x00800000;
inline constexpr CGEventFlags kCGEventFlagMaskNonCoalesced = 0x00000100;

using CGEventField = std::uint32_t;
inline constexpr CGEventField kCGMouseEventButtonNumber = 3;
inline constexpr CGEventField kCGKeyboardEventAutorepeat = 8;
inline constexpr CGEventField kCGKeyboardEventKeycode = 9;
inline constexpr CGEventField kCGEventSourceUnixProcessID = 41;

using CGKeyCode = std::uint16_t;
using CGMouseButton = std::uint32_t;
inline constexpr CGMouseButton kCGMouseButtonLeft = 0;
inline constexpr CGMouseButton kCGMouseButtonRight = 1;
inline constexpr CGMouseButton kCGMouseButtonCenter = 2;

using CGEventTapLocation = std::uint32_t;
inline constexpr CGEventTapLocation kCGHIDEventTap = 0;
inline constexpr CGEventTapLocation kCGSessionEventTap = 1;
inline constexpr CGEventTapLocation kCGAnnotatedSessionEventTap = 2;

/// An event source; events made without one carry no source state.
class CGEventSource final : public CFObject {};
using CGEventSourceRef = std::shared_ptr<const CGEventSource>;
using CGEventSourceStateID = std::int32_t;
inline constexpr CGEventSourceStateID kCGEventSourceStatePrivate = -1;
inline constexpr CGEventSourceStateID kCGEventSourceStateCombinedSessionState = 0;
inline constexpr CGEventSourceStateID kCGEventSourceStateHIDSystemState = 1;
CGEventSourceRef CGEventSourceCreate(CGEventSourceStateID state);

/// One event; changed in place by the setters, as the platform's mutable events are.
class CGEvent final : public CFObject {
  public:
    explicit CGEvent(sim::InputEvent event) : event_(event) {}
    const sim::InputEvent& input() const { return event_; }
    sim::InputEvent& input() { return event_; }

  private:
    sim::InputEvent event_;
};
using CGEventRef = std::shared_ptr<CGEvent>;

/// An empty event at the pointer's current location (its only use: asking where it is).
CGEventRef CGEventCreate(const CGEventSourceRef& source);
CGEventRef CGEventCreateKeyboardEvent(const CGEventSourceRef& source, CGKeyCode virtualKey,
                                      bool keyDown);
CGEventRef CGEventCreateMouseEvent(const CGEventSourceRef& source, CGEventType mouseType,
                                   CGPoint mouseCursorPosition, CGMouseButton mouseButton);
CGEventType CGEventGetType(const CGEventRef& event);
CGEventFlags CGEventGetFlags(const CGEventRef& event);
void CGEventSetFlags(const CGEventRef& event, CGEventFlags flags);
std::int64_t CGEventGetIntegerValueField(const CGEventRef& event, CGEventField field);
void CGEventSetIntegerValueField(const CGEventRef& event, CGEventField field, std::int64_t value);
/// Global position: top left of the menu-bar display, y down.
CGPoint CGEventGetLocation(const CGEventRef& event);
void CGEventSetLocation(const CGEventRef& event, CGPoint location);

/// Posts the event into the stream at `tap`: it passes the taps from there on, then reaches
/// the front application.
void CGEventPost(CGEventTapLocation tap, const CGEventRef& event);
/// Posts the event to one application, past every tap.
void CGEventPostToPid(pid_t pid, const CGEventRef& event);
