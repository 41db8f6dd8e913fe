#include "KelvoCore/Wire/KelvoTestRequest.h"

namespace kelvo {

KelvoTestRequest::KelvoTestRequest(std::string op_, std::optional<WireCommand> command_,
                                   std::optional<std::vector<std::uint32_t>> ids_)
    : op(std::move(op_)), command(std::move(command_)), ids(std::move(ids_)) {}

KelvoTestRequest KelvoTestRequest::ping() {
    return KelvoTestRequest("ping", {}, {});
}

KelvoTestRequest KelvoTestRequest::quit() {
    return KelvoTestRequest("quit", {}, {});
}

KelvoTestRequest KelvoTestRequest::commandRequest(const Command& command) {
    return KelvoTestRequest("command", WireCommand(command), {});
}

KelvoTestRequest KelvoTestRequest::state(const std::vector<WindowID>& windows) {
    std::vector<std::uint32_t> raw;
    raw.reserve(windows.size());
    for (WindowID id : windows)
        raw.push_back(id.raw);
    return KelvoTestRequest("state", {}, std::move(raw));
}

JSONValue JSONCoding<KelvoTestRequest>::encode(const KelvoTestRequest& r) {
    JSONValue object = JSONValue::object();
    object["op"] = r.op;
    putIfPresent(object, "command", r.command);
    putIfPresent(object, "ids", r.ids);
    return object;
}

KelvoTestRequest JSONCoding<KelvoTestRequest>::decode(const JSONNode& node) {
    return KelvoTestRequest(node.decode<std::string>("op"),
                            node.decodeIfPresent<WireCommand>("command"),
                            node.decodeIfPresent<std::vector<std::uint32_t>>("ids"));
}

}  // namespace kelvo
