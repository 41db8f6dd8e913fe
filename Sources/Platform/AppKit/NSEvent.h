#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/InputEvent.h"

// Events of the mouse and keyboard as the application framework hands them to windows and
// views, and what it tells of the mouse and keyboard right now.

using NSEventModifierFlags = std::uint64_t;
inline constexpr NSEventModifierFlags NSEventModifierFlagCapsLock = 1 << 16;
inline constexpr NSEventModifierFlags NSEventModifierFlagShift = 1 << 17;
inline constexpr NSEventModifierFlags NSEventModifierFlagControl = 1 << 18;
inline constexpr NSEventModifierFlags NSEventModifierFlagOption = 1 << 19;
inline constexpr NSEventModifierFlags NSEventModifierFlagCommand = 1 << 20;
inline constexpr NSEventModifierFlags NSEventModifierFlagNumericPad = 1 << 21;
inline constexpr NSEventModifierFlags NSEventModifierFlagHelp = 1 << 22;
inline constexpr NSEventModifierFlags NSEventModifierFlagFunction = 1 << 23;
/// The flags that do not depend on the device (the low 16 bits do).
inline constexpr NSEventModifierFlags NSEventModifierFlagDeviceIndependentFlagsMask = 0xFFFF0000;

enum class NSEventType : std::uint32_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
};

using NSEventMask = std::uint64_t;
inline constexpr NSEventMask NSEventMaskLeftMouseDown = 1 << 1;
inline constexpr NSEventMask NSEventMaskLeftMouseUp = 1 << 2;
inline constexpr NSEventMask NSEventMaskRightMouseDown = 1 << 3;
inline constexpr NSEventMask NSEventMaskRightMouseUp = 1 << 4;
inline constexpr NSEventMask NSEventMaskKeyDown = 1 << 10;
inline constexpr NSEventMask NSEventMaskKeyUp = 1 << 11;

class NSWindow;
class NSEvent;
using NSEventRef = std::shared_ptr<NSEvent>;

class NSEvent {
  public:
    /// An event as the desktop delivered it; `window` is where it goes (null for none).
    NSEvent(const sim::InputEvent& event, NSWindow* window);

    NSEventType type() const { return static_cast<NSEventType>(event_.type); }
    std::uint16_t keyCode() const { return event_.keyCode; }
    NSEventModifierFlags modifierFlags() const { return event_.flags; }
    bool isARepeat() const { return event_.autorepeat; }
    /// How far a scroll wheel event moves the content, in points (negative: on towards its
    /// end); 0 for every other event.
    CGFloat scrollingDeltaY() const { return event_.scrollDeltaY; }
    /// The text the key types.
    std::string characters() const;
    /// The text the key types without any modifier but Shift.
    std::string charactersIgnoringModifiers() const;
    NSWindow* window() const { return window_; }
    /// In the window's coordinates (bottom left of its content, y up); in screen coordinates
    /// for an event of no window.
    CGPoint locationInWindow() const;
    /// The desktop's form of the event (location in top-left screen coordinates).
    const sim::InputEvent& inputEvent() const { return event_; }

    /// Bit n set while mouse button n is held (bit 0: the left button).
    static unsigned long pressedMouseButtons();
    /// The pointer in screen coordinates (bottom left of the first screen, y up).
    static CGPoint mouseLocation();
    /// The modifier keys held now.
    static NSEventModifierFlags currentModifierFlags();

    /// Sees every event of the mask this application receives before its windows do; the
    /// handler returns the event to pass on (changed or not) or null to swallow it. Main thread.
    using LocalMonitor = std::function<NSEventRef(const NSEventRef&)>;
    static std::shared_ptr<void> addLocalMonitorForEventsMatchingMask(NSEventMask mask,
                                                                      LocalMonitor handler);
    static void removeMonitor(const std::shared_ptr<void>& monitor);
    /// Runs the monitors that want the event, in the order they were added; null when one
    /// swallowed it.
    static NSEventRef runLocalMonitors(NSEventRef event);

  private:
    sim::InputEvent event_;
    NSWindow* window_ = nullptr;
};
