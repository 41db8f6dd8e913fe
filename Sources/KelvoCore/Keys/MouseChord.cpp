#include "KelvoCore/Keys/MouseChord.h"

namespace kelvo {

bool MouseChord::matches(bool option, bool shift, bool control, bool command) const {
    return *this == MouseChord{option, shift, control, command};
}

std::string MouseChord::caps() const {
    std::string text;
    if (control) text += "⌃";
    if (option) text += "⌥";
    if (shift) text += "⇧";
    if (command) text += "⌘";
    return text;
}

JSONValue JSONCoding<MouseChord>::encode(const MouseChord& chord) {
    JSONValue object = JSONValue::object();
    object["option"] = chord.option;
    object["shift"] = chord.shift;
    object["control"] = chord.control;
    object["command"] = chord.command;
    return object;
}

MouseChord JSONCoding<MouseChord>::decode(const JSONNode& node) {
    return MouseChord{node.decode<bool>("option"), node.decode<bool>("shift"),
                      node.decode<bool>("control"), node.decode<bool>("command")};
}

}  // namespace kelvo
