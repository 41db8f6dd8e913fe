#pragma once

#include <optional>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopOperation.h"
#include "Simulator/Server/DesktopService.h"

namespace sim {

/// What a served client does, as a registered application, to itself and its own windows (the
/// APPLICATION_OPERATION entries of DesktopOperations.def). It acts only as an application it
/// registered and only on that application's windows; anything else is refused with a
/// RequestFailure.
class ServedApplication {
  public:
    ServedApplication(Desktop& desktop, ServedClient& client)
        : desktop_(desktop), client_(client) {}

#define APPLICATION_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#include "Simulator/DesktopOperations.def"

  private:
    /// The application the client acts as: the one it names, or the first it registered.
    Pid self(std::optional<Pid> pid) const;
    /// A window of one of the client's own applications.
    WindowNumber own(WindowNumber number) const;

    Desktop& desktop_;
    ServedClient& client_;
};

}  // namespace sim
