#include "Simulator/DesktopForwarder.h"

namespace sim {

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, ...)       \
    Reply DesktopForwarder::name parameters {                            \
        return forward(&Desktop::name, std::forward_as_tuple arguments); \
    }
#include "Simulator/DesktopOperations.def"

}  // namespace sim
