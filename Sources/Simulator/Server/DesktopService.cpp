#include "Simulator/Server/DesktopService.h"

namespace sim {

using kelvo::encodeJSON;
using kelvo::JSONNode;
using kelvo::JSONValue;

DesktopService::DesktopService(std::shared_ptr<Desktop> desktop) : desktop_(std::move(desktop)) {}

const std::map<std::string, DesktopService::Operation>& DesktopService::operations() {
    static const auto table = [] {
        std::map<std::string, Operation> t;
        addConnectionOperations(t);
        addApplicationOperations(t);
        addCommandLineOperations(t);
        return t;
    }();
    return table;
}

JSONValue DesktopService::handle(ServedClient& client, const DesktopRequest& request) {
    const auto& table = operations();
    const auto found = table.find(request.op);
    if (found == table.end()) throw RequestFailure("unknown op " + request.op);
    const JSONNode args(request.args);
    try {
        return found->second(Call{*this, client, args});
    } catch (const kelvo::DecodingError& error) {
        throw RequestFailure("bad arguments for " + request.op + ": " + error.what());
    }
}

void DesktopService::requestShutdown() const {
    if (shutdown_) shutdown_();
}

void DesktopService::leave(ServedClient& client) {
    // The desktop ends what a departed client made, as the platform ends a process's things.
    if (client.desktopClient != 0) desktop_->detach(client.desktopClient);
    client = ServedClient{};
}

}  // namespace sim
