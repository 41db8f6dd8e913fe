#pragma once

#include <string>
#include <vector>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopOperation.h"

namespace sim {

class DesktopService;

/// What the command line does to a served desktop, as a person at it would (the
/// CONTROL_OPERATION entries of DesktopOperations.def). An operation on an application the
/// desktop does not run is refused with a RequestFailure.
class DesktopControl {
  public:
    DesktopControl(Desktop& desktop, const DesktopService& service)
        : desktop_(desktop), service_(service) {}

#define CONTROL_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#include "Simulator/DesktopOperations.def"

    /// How many moves a drag makes between its press and its release.
    static constexpr int dragSteps = 8;

  private:
    Desktop& desktop_;
    const DesktopService& service_;
};

}  // namespace sim
