#pragma once

#include <array>
#include <optional>
#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// The primary modifier of the default shortcuts.
enum class Modifier { option, control };

namespace modifier {
inline constexpr std::array<Modifier, 2> allCases = {Modifier::option, Modifier::control};
}

/// "option" or "control".
std::string rawValue(Modifier modifier);
/// Exact raw values only; any other text gives none.
std::optional<Modifier> modifierFromRawValue(const std::string& raw);

/// Written as its raw value. Reading is lenient: "control" gives control and any other text
/// option, so a misspelt file keeps the usual keys; a value that is no text fails.
template <>
struct JSONCoding<Modifier> {
    static JSONValue encode(Modifier modifier);
    static Modifier decode(const JSONNode& node);
};

}  // namespace kelvo
