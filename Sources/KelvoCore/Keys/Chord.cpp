#include "KelvoCore/Keys/Chord.h"

namespace kelvo {

JSONValue JSONCoding<Chord>::encode(const Chord& chord) {
    JSONValue object = JSONValue::object();
    object["keyCode"] = chord.keyCode;
    object["option"] = chord.option;
    object["control"] = chord.control;
    object["command"] = chord.command;
    object["shift"] = chord.shift;
    return object;
}

Chord JSONCoding<Chord>::decode(const JSONNode& node) {
    const auto flag = [&](const char* key) {
        return node.decodeIfPresent<bool>(key).value_or(false);
    };
    Chord chord;
    chord.keyCode = node.decode<std::uint16_t>("keyCode");
    chord.option = flag("option");
    chord.control = flag("control");
    chord.command = flag("command");
    chord.shift = flag("shift");
    return chord;
}

}  // namespace kelvo
