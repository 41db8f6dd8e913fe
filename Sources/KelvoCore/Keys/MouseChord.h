#pragma once

#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// The modifier flags of a mouse click.
struct MouseChord {
    bool option = false;
    bool shift = false;
    bool control = false;
    bool command = false;

    /// Option and shift: the click that floats or tiles the window under the pointer.
    static MouseChord toggleFloat() { return MouseChord{.option = true, .shift = true}; }

    /// True when all four flags of the click equal this chord's.
    bool matches(bool option, bool shift, bool control, bool command) const;
    /// The held modifiers' symbols in the order ⌃ ⌥ ⇧ ⌘, without separators.
    std::string caps() const;

    bool operator==(const MouseChord&) const = default;
};

/// All four keys are written and all four are required when reading.
template <>
struct JSONCoding<MouseChord> {
    static JSONValue encode(const MouseChord& chord);
    static MouseChord decode(const JSONNode& node);
};

}  // namespace kelvo
