#include "Simulator/Server/DesktopService.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <type_traits>

#include "Simulator/DesktopForwarder.h"
#include "Simulator/Server/DesktopControl.h"
#include "Simulator/Server/OperationCoding.h"
#include "Simulator/Server/ServedApplication.h"

namespace sim {

using kelvo::JSONNode;
using kelvo::JSONValue;
using Call = DesktopService::Call;

namespace {

/// A served client's calls of the connection interface, made on the desktop as an in-process
/// client's are; its events reach it through the sink the server attached for it.
class ServedConnection final : public DesktopForwarder {
  public:
    ServedConnection(std::shared_ptr<Desktop> desktop, ServedClient& client)
        : DesktopForwarder(std::move(desktop), client.desktopClient), served_(client) {}

    void setEventSink(EventSink) override {}
    Pid clientPid() const override { return served_.pids.empty() ? 0 : *served_.pids.begin(); }
    Pid registerClient(const ApplicationSpec& self) override {
        const Pid pid = DesktopForwarder::registerClient(self);
        if (pid != 0) served_.pids.insert(pid);
        // The process registered under its own pid: a signal for that pid reaches it.
        if (pid != 0 && self.pid == pid && served_.processPid == pid) desktop_->confirmProcess(pid);
        return pid;
    }

  private:
    ServedClient& served_;
};

/// Who carries out an operation for the client making the call.
ServedConnection targetOf(const Call& call, std::type_identity<DesktopConnection>) {
    return ServedConnection(call.desktop(), call.client);
}

ServedApplication targetOf(const Call& call, std::type_identity<ServedApplication>) {
    return ServedApplication(*call.desktop(), call.client);
}

DesktopControl targetOf(const Call& call, std::type_identity<DesktopControl>) {
    return DesktopControl(*call.desktop(), call.service);
}

template <class Method>
struct MethodOf;

template <class Reply, class Target, class... Parameters>
struct MethodOf<Reply (Target::*)(Parameters...)> {
    using Result = Reply;
    using Owner = Target;
    using Arguments = std::tuple<std::decay_t<Parameters>...>;
};

/// A messaging timeout below zero never reaches the desktop.
void refuseNegativeTimeout(const OperationForm& form, const JSONNode& args) {
    if (!form.keys.contains(argument::timeout)) return;
    const auto timeout = args.decodeIfPresent<double>(std::string(argument::timeout));
    if (timeout && !(*timeout >= 0)) throw RequestFailure("timeout must not be negative");
}

/// One operation of the list on the server: its arguments read from the request, the method
/// called on its target, what it returned written into the result.
template <const OperationForm& form, auto method>
JSONValue serve(const Call& call) {
    using Method = MethodOf<decltype(method)>;
    static_assert(std::tuple_size_v<typename Method::Arguments> == form.keys.size(),
                  "every parameter has its argument");
    auto arguments = coding::decodeArguments<typename Method::Arguments>(form, call.args);
    refuseNegativeTimeout(form, call.args);
    auto target = targetOf(call, std::type_identity<typename Method::Owner>());
    const auto carryOut = [&] {
        return std::apply([&](auto&... values) { return (target.*method)(values...); }, arguments);
    };
    if constexpr (std::is_void_v<typename Method::Result>) {
        carryOut();
        return JSONValue::object();
    } else {
        return coding::encodeResult(form, carryOut());
    }
}

}  // namespace

DesktopService::DesktopService(std::shared_ptr<Desktop> desktop) : desktop_(std::move(desktop)) {}

const std::map<std::string, DesktopService::Operation, std::less<>>& DesktopService::operations() {
    static const std::map<std::string, Operation, std::less<>> table = {
#define DESKTOP_OPERATION(Reply, name, ...) \
    {#name, &serve<operation::name, &DesktopConnection::name>},
#define APPLICATION_OPERATION(Reply, name, ...) \
    {#name, &serve<operation::name, &ServedApplication::name>},
#define CONTROL_OPERATION(Reply, name, ...) {#name, &serve<operation::name, &DesktopControl::name>},
#include "Simulator/DesktopOperations.def"
    };
    return table;
}

JSONValue DesktopService::handle(ServedClient& client, const DesktopRequest& request) {
    const auto& table = operations();
    const auto found = table.find(request.op);
    if (found == table.end()) throw RequestFailure("unknown op " + request.op);
    const JSONNode args(request.args);
    if (!client.pids.empty()) ++requestsServed_[*client.pids.begin()];
    try {
        return found->second(Call{*this, client, args});
    } catch (const kelvo::DecodingError& error) {
        throw RequestFailure("bad arguments for " + request.op + ": " + error.what());
    }
}

double DesktopService::answerWait(const DesktopRequest& request) const {
    static constexpr std::array<const OperationForm*, 4> timed = {
        &operation::copyAttribute, &operation::setAttribute, &operation::isAttributeSettable,
        &operation::performAction};
    const auto form = std::find_if(timed.begin(), timed.end(),
                                   [&](const OperationForm* f) { return f->name == request.op; });
    if (form == timed.end()) return 0;
    try {
        const JSONNode args(request.args);
        const auto element = coding::decodeArgument<ElementID>(args, "element");
        const auto timeout = coding::decodeArgument<double>(args, argument::timeout);
        if (!(timeout >= 0)) return 0;
        return desktop_->answerWait(element, timeout);
    } catch (const kelvo::DecodingError&) {
        return 0;  // carried out at once, and refused for its arguments
    }
}

void DesktopService::requestShutdown() const {
    if (shutdown_) shutdown_();
}

std::uint64_t DesktopService::requestsServed(Pid pid) const {
    const auto found = requestsServed_.find(pid);
    return found == requestsServed_.end() ? 0 : found->second;
}

void DesktopService::leave(ServedClient& client) {
    // The desktop ends what a departed client made, as the platform ends a process's things.
    if (client.desktopClient != 0) desktop_->detach(client.desktopClient);
    client = ServedClient{};
}

}  // namespace sim
