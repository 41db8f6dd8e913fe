#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Simulator/DesktopOperation.h"
#include "Simulator/Server/LineClient.h"

namespace sim {

/// Every operation of DesktopOperations.def as a request on a desktop's socket: the connection
/// interface's, a registered application's on its own windows and the command line's. Each
/// waits for its reply (a posted one for nothing) and throws RemoteError with the desktop's
/// text when it refuses, DesktopGone when it is gone, DecodingError when its answer cannot be
/// read.
class DesktopClient {
  public:
    explicit DesktopClient(LineClient& lines) : lines_(lines) {}

#define DESKTOP_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#define APPLICATION_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#define CONTROL_OPERATION(Reply, name, parameters, ...) Reply name parameters;
#include "Simulator/DesktopOperations.def"

  private:
    template <class Reply, class... Arguments>
    Reply request(const OperationForm& form, const std::tuple<Arguments...>& arguments);

    LineClient& lines_;
};

}  // namespace sim
