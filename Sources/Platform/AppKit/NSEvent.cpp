#include "Platform/AppKit/NSEvent.h"

#include "Simulator/SharedConnection.h"

unsigned long NSEvent::pressedMouseButtons() {
    return sim::SharedConnection::current()->pressedMouseButtons();
}

CGPoint NSEvent::mouseLocation() {
    const auto connection = sim::SharedConnection::current();
    const auto displays = connection->displays();
    const CGPoint pointer = connection->pointerLocation();
    const double firstHeight = displays.empty() ? 0 : displays.front().frame.height();
    return CGPoint{pointer.x, firstHeight - pointer.y};
}

NSEventModifierFlags NSEvent::modifierFlags() {
    return sim::SharedConnection::current()->modifierFlags();
}
