#include "KelvoCore/Wire/WireCommand.h"

#include <algorithm>
#include <limits>

namespace kelvo {

namespace {

/// Desktop numbers beyond int cannot name a desktop; saturating keeps them out of range so
/// the dispatcher refuses them like any other bad number.
int saturatedDesktop(std::int64_t desktop) {
    return static_cast<int>(std::clamp<std::int64_t>(desktop, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

WireCommand::WireCommand(std::string name_, std::optional<std::int64_t> desktop_,
                         std::optional<std::string> direction_)
    : name(std::move(name_)), desktop(desktop_), direction(std::move(direction_)) {}

WireCommand::WireCommand(const Command& command) : name(command.name()) {
    if (auto d = command.desktop()) desktop = *d;
    if (auto d = command.direction()) direction = toString(*d);
}

std::optional<Command> WireCommand::command() const {
    for (Command::Kind kind : Command::allKinds) {
        if (Command::name(kind) != name) continue;
        switch (kind) {
            case Command::Kind::switchTo:
                if (!desktop) return std::nullopt;
                return Command::switchTo(saturatedDesktop(*desktop));
            case Command::Kind::throwTo:
                if (!desktop) return std::nullopt;
                return Command::throwTo(saturatedDesktop(*desktop));
            case Command::Kind::focus:
            case Command::Kind::moveWindow:
            case Command::Kind::resize: {
                auto d = direction ? directionFromString(*direction) : std::nullopt;
                if (!d) return std::nullopt;
                if (kind == Command::Kind::focus) return Command::focus(*d);
                if (kind == Command::Kind::moveWindow) return Command::moveWindow(*d);
                return Command::resize(*d);
            }
            default:
                return Command::plain(kind);
        }
    }
    return std::nullopt;
}

JSONValue JSONCoding<WireCommand>::encode(const WireCommand& c) {
    JSONValue object = JSONValue::object();
    object["name"] = c.name;
    putIfPresent(object, "desktop", c.desktop);
    putIfPresent(object, "direction", c.direction);
    return object;
}

WireCommand JSONCoding<WireCommand>::decode(const JSONNode& node) {
    return WireCommand(node.decode<std::string>("name"),
                       node.decodeIfPresent<std::int64_t>("desktop"),
                       node.decodeIfPresent<std::string>("direction"));
}

}  // namespace kelvo
