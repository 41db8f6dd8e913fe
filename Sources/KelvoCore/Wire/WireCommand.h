#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Keys/Command.h"

namespace kelvo {

/// One command on the wire: its case name and, for the cases that carry one, a desktop number
/// or a direction word.
struct WireCommand {
    std::string name;
    std::optional<std::int64_t> desktop;
    std::optional<std::string> direction;

    WireCommand() = default;
    WireCommand(std::string name, std::optional<std::int64_t> desktop,
                std::optional<std::string> direction);
    explicit WireCommand(const Command& command);

    /// The command the wire names, or none when the name is unknown or a payload it needs is
    /// missing or not a direction word. Desktop numbers are passed on unchecked.
    std::optional<Command> command() const;

    bool operator==(const WireCommand&) const = default;
};

template <>
struct JSONCoding<WireCommand> {
    static JSONValue encode(const WireCommand& c);
    static WireCommand decode(const JSONNode& node);
};

}  // namespace kelvo
