#pragma once

#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopConnection.h"

namespace sim {

/// Carries every operation of the connection interface straight to a desktop, for one of its
/// clients: each is the Desktop method of the same name, given the client first when it takes
/// one (the operations that make something the client owns). The in-process connection is one;
/// the server serves each request of a socket's client through one.
class DesktopForwarder : public DesktopConnection {
  public:
    const std::shared_ptr<Desktop>& desktop() const { return desktop_; }

#define DESKTOP_OPERATION(Reply, name, parameters, ...) Reply name parameters override;
#include "Simulator/DesktopOperations.def"

  protected:
    DesktopForwarder(std::shared_ptr<Desktop> desktop, ClientID client)
        : desktop_(std::move(desktop)), client_(client) {}

    std::shared_ptr<Desktop> desktop_;
    ClientID client_ = 0;

  private:
    template <class Method, class... Arguments>
    decltype(auto) forward(Method method, std::tuple<Arguments...> arguments) {
        return std::apply(
            [&](auto&&... values) -> decltype(auto) {
                if constexpr (std::is_invocable_v<Method, Desktop&, ClientID, Arguments...>) {
                    return std::invoke(method, *desktop_, client_, values...);
                } else {
                    return std::invoke(method, *desktop_, values...);
                }
            },
            arguments);
    }
};

}  // namespace sim
