#pragma once

#include <string>
#include <vector>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopOperation.h"

namespace sim {

/// What the command line does to a served desktop, as a person at it would (the
/// CONTROL_OPERATION entries of DesktopOperations.def). An operation on an application the
/// desktop does not run is refused with a RequestFailure.
class DesktopControl {
  public:
    explicit DesktopControl(Desktop& desktop) : desktop_(desktop) {}

#define CONTROL_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#include "Simulator/DesktopOperations.def"

  private:
    Desktop& desktop_;
};

}  // namespace sim
