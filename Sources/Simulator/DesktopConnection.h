#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Simulator/DesktopEvent.h"
#include "Simulator/DesktopOperation.h"

namespace sim {

/// The one road from the platform stand-ins to a simulated desktop.
///
/// Every call takes and returns plain values (identifiers, numbers, texts, small structs), so
/// that each maps onto one request and one reply of a line protocol: a call never hands the
/// desktop a pointer or a callback, and no reply points into the desktop. What happens later
/// (observer notifications, workspace notifications, screen changes, events for taps) reaches
/// the client only through the connection's event sink, which the client sets once before it
/// registers; the stand-ins turn each event into a delivery on the right run loop or thread.
///
/// A client registers first (`registerClient`): it becomes a process of the desktop, the owner
/// of the observers, taps and windows it makes, and the receiver of its events. Calls may come
/// from any thread. A desktop that cannot be reached answers every call as a failure (errors,
/// empty lists, none, zero identifiers).
///
/// The operations, with what each does, are the DESKTOP_OPERATION entries of
/// DesktopOperations.def: one pure virtual method each.
class DesktopConnection {
  public:
    virtual ~DesktopConnection() = default;

    /// Where this connection's events go. Set before `registerClient`; replacing it later is
    /// allowed but not atomic with deliveries already under way.
    virtual void setEventSink(EventSink sink) = 0;
    /// The pid this client registered as (0 before).
    virtual Pid clientPid() const = 0;

#define DESKTOP_OPERATION(Reply, name, parameters, ...) virtual Reply name parameters = 0;
#include "Simulator/DesktopOperations.def"
};

/// The connection of a client that has no desktop: every call fails, answering the list's
/// `unanswered`.
class DisconnectedConnection final : public DesktopConnection {
  public:
    void setEventSink(EventSink) override {}
    Pid clientPid() const override { return 0; }

#define DESKTOP_OPERATION(Reply, name, parameters, ...) Reply name parameters override;
#include "Simulator/DesktopOperations.def"
};

}  // namespace sim
