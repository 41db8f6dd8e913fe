#pragma once

#include <functional>
#include <string>
#include <variant>

#include "Simulator/DesktopValues.h"
#include "Simulator/InputEvent.h"

namespace sim {

/// An Accessibility notification for one of the client's observers.
struct ObserverNotification {
    ObserverID observer = 0;
    ElementID element;
    std::string name;
    bool operator==(const ObserverNotification&) const = default;
};

/// A workspace notification about an application ("launched", "terminated", "activated",
/// "deactivated", "hidden", "unhidden"): the stand-ins turn it into the platform's notification.
struct WorkspaceNotification {
    enum class Kind { launched, terminated, activated, deactivated, hidden, unhidden };
    Kind kind = Kind::launched;
    Pid pid = 0;
    bool operator==(const WorkspaceNotification&) const = default;
};

/// The displays were added, removed or moved.
struct ScreenParametersChanged {
    bool operator==(const ScreenParametersChanged&) const = default;
};

/// An event for one of the client's taps. An active tap's event waits for the client's
/// `TapAnswer` with the same `delivery`; a listen-only tap's does not (`delivery` is 0).
struct TapEventDelivery {
    TapID tap = 0;
    std::uint64_t delivery = 0;
    InputEvent event;
    bool operator==(const TapEventDelivery&) const = default;
};

/// The desktop asks the client's own application to terminate (a quit from outside).
struct TerminateRequested {
    bool operator==(const TerminateRequested&) const = default;
};

/// A key or mouse event for one of the client's own windows, location in screen coordinates
/// (top left, y down) as everywhere on the desktop.
struct OwnWindowInput {
    WindowNumber window = 0;
    InputEvent event;
    bool operator==(const OwnWindowInput&) const = default;
};

/// A mouse event on one of the client's status items.
struct StatusItemInput {
    std::uint64_t item = 0;
    InputEvent event;
    bool operator==(const StatusItemInput&) const = default;
};

/// A person pressed the close button of one of the client's windows.
struct CloseButtonPressed {
    WindowNumber window = 0;
    bool operator==(const CloseButtonPressed&) const = default;
};

/// A person pressed the zoom button of one of the client's windows.
struct ZoomButtonPressed {
    WindowNumber window = 0;
    bool operator==(const ZoomButtonPressed&) const = default;
};

/// One of the client's windows is no longer key: the person turned to a window of another
/// process, which now takes the keys.
struct KeyStatusLost {
    WindowNumber window = 0;
    bool operator==(const KeyStatusLost&) const = default;
};

/// The mouse buttons held changed (bit 0 the left button, bit 1 the right one), told to every
/// client before the press or release reaches anyone, so that a client may answer the pressed
/// buttons itself, as a process of the platform reads them without asking.
struct MouseButtonsChanged {
    std::uint32_t buttons = 0;
    bool operator==(const MouseButtonsChanged&) const = default;
};

/// Everything a desktop pushes to a client, through the client's one event sink.
using DesktopEvent =
    std::variant<ObserverNotification, WorkspaceNotification, ScreenParametersChanged,
                 TapEventDelivery, TerminateRequested, OwnWindowInput, StatusItemInput,
                 CloseButtonPressed, ZoomButtonPressed, KeyStatusLost, MouseButtonsChanged>;

/// Receives a connection's events, on the thread that delivers them (whoever changed the
/// desktop, in process; the connection's delivery thread, over a socket). Never called while
/// the desktop is locked.
using EventSink = std::function<void(const DesktopEvent&)>;

}  // namespace sim
