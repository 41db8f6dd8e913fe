#include "KelvoCore/Keys/Modifier.h"

namespace kelvo {

std::string rawValue(Modifier modifier) {
    return modifier == Modifier::option ? "option" : "control";
}

std::optional<Modifier> modifierFromRawValue(const std::string& raw) {
    return caseWithRawValue<Modifier>(modifier::allCases, raw,
                                      [](Modifier m) { return rawValue(m); });
}

JSONValue JSONCoding<Modifier>::encode(Modifier modifier) {
    return rawValue(modifier);
}

Modifier JSONCoding<Modifier>::decode(const JSONNode& node) {
    return node.string() == rawValue(Modifier::control) ? Modifier::control : Modifier::option;
}

}  // namespace kelvo
