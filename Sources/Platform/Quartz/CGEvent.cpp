#include "Platform/Quartz/CGEvent.h"

#include "Simulator/SharedConnection.h"

CGEventSourceRef CGEventSourceCreate(CGEventSourceStateID) {
    return std::make_shared<const CGEventSource>();
}

namespace {

// Events this process makes carry its pid as their source.
sim::InputEvent madeHere(std::uint32_t type) {
    const auto connection = sim::SharedConnection::current();
    sim::InputEvent event;
    event.type = type;
    event.location = connection->pointerLocation();
    event.sourcePid = connection->clientPid();
    return event;
}

}  // namespace

CGEventRef CGEventCreate(const CGEventSourceRef&) {
    return std::make_shared<CGEvent>(madeHere(kCGEventNull));
}

CGEventRef CGEventCreateKeyboardEvent(const CGEventSourceRef&, CGKeyCode virtualKey, bool keyDown) {
    sim::InputEvent event = madeHere(keyDown ? kCGEventKeyDown : kCGEventKeyUp);
    event.keyCode = virtualKey;
    return std::make_shared<CGEvent>(event);
}

CGEventRef CGEventCreateMouseEvent(const CGEventSourceRef&, CGEventType mouseType,
                                   CGPoint mouseCursorPosition, CGMouseButton) {
    sim::InputEvent event = madeHere(mouseType);
    event.location = mouseCursorPosition;
    return std::make_shared<CGEvent>(event);
}

CGEventType CGEventGetType(const CGEventRef& event) {
    return event ? event->input().type : kCGEventNull;
}

CGEventFlags CGEventGetFlags(const CGEventRef& event) {
    return event ? event->input().flags : 0;
}

void CGEventSetFlags(const CGEventRef& event, CGEventFlags flags) {
    if (event) event->input().flags = flags;
}

std::int64_t CGEventGetIntegerValueField(const CGEventRef& event, CGEventField field) {
    if (!event) return 0;
    switch (field) {
        case kCGKeyboardEventKeycode:
            return event->input().keyCode;
        case kCGKeyboardEventAutorepeat:
            return event->input().autorepeat ? 1 : 0;
        case kCGEventSourceUnixProcessID:
            return event->input().sourcePid.value_or(0);
        default:
            return 0;
    }
}

void CGEventSetIntegerValueField(const CGEventRef& event, CGEventField field, std::int64_t value) {
    if (!event) return;
    switch (field) {
        case kCGKeyboardEventKeycode:
            event->input().keyCode = static_cast<std::uint16_t>(value);
            break;
        case kCGKeyboardEventAutorepeat:
            event->input().autorepeat = value != 0;
            break;
        default:
            break;
    }
}

CGPoint CGEventGetLocation(const CGEventRef& event) {
    return event ? event->input().location : CGPoint{};
}

void CGEventSetLocation(const CGEventRef& event, CGPoint location) {
    if (event) event->input().location = location;
}

void CGEventPost(CGEventTapLocation tap, const CGEventRef& event) {
    if (event) sim::SharedConnection::current()->postEvent(event->input(), tap);
}

void CGEventPostToPid(pid_t pid, const CGEventRef& event) {
    if (event) sim::SharedConnection::current()->postEventToPid(event->input(), pid);
}
