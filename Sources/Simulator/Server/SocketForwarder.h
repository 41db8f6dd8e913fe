#pragma once

#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "Simulator/DesktopConnection.h"
#include "Simulator/Server/LineClient.h"

namespace sim {

/// Carries every operation of the connection interface to a desktop served by another process
/// (`kelvo-sim serve`): each is one request on its socket that waits for its reply, or, for a
/// posted one, for nothing. A call the desktop does not answer, answers with an error or
/// answers in a form this side cannot read returns the list's `unanswered`, as
/// `DisconnectedConnection`'s calls do. An Accessibility call waits no longer than its
/// messaging timeout, as on the platform; every other waits at most the connection deadline.
class SocketForwarder : public DesktopConnection {
  public:
#define DESKTOP_OPERATION(Reply, name, parameters, ...) Reply name parameters override;
#include "Simulator/DesktopOperations.def"

  protected:
    /// Connects to the server at `path` (throws SocketError when nothing serves there).
    SocketForwarder(const std::string& path, std::optional<LineClient::Clock::duration> deadline,
                    std::optional<LineClient::Clock::duration> quietSpell);

    std::unique_ptr<LineClient> lines_;

  private:
    template <class Reply, class... Arguments>
    Reply ask(const OperationForm& form, Unanswered<Reply> unanswered,
              const std::tuple<Arguments...>& arguments);
};

}  // namespace sim
