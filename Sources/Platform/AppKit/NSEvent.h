#pragma once

#include <cstdint>

#include "Base/Foundation/CGGeometry.h"

// What the application framework tells of the mouse and keyboard right now.

using NSEventModifierFlags = std::uint64_t;
inline constexpr NSEventModifierFlags NSEventModifierFlagShift = 1 << 17;
inline constexpr NSEventModifierFlags NSEventModifierFlagControl = 1 << 18;
inline constexpr NSEventModifierFlags NSEventModifierFlagOption = 1 << 19;
inline constexpr NSEventModifierFlags NSEventModifierFlagCommand = 1 << 20;

class NSEvent {
  public:
    /// Bit n set while mouse button n is held (bit 0: the left button).
    static unsigned long pressedMouseButtons();
    /// The pointer in screen coordinates (bottom left of the first screen, y up).
    static CGPoint mouseLocation();
    static NSEventModifierFlags modifierFlags();
};
