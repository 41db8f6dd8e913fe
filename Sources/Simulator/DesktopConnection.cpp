#include "Simulator/DesktopConnection.h"

#include <tuple>

namespace sim {

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, request, reply, unanswered) \
    Reply DisconnectedConnection::name parameters {                                       \
        static_cast<void>(std::forward_as_tuple arguments);                               \
        return Unanswered<Reply>{unanswered}.get();                                       \
    }
#include "Simulator/DesktopOperations.def"

}  // namespace sim
