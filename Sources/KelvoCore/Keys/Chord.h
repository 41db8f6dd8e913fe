#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// One key with its modifier flags: the unit of every key binding. Two chords are the same
/// binding only when the key and all four flags match; no other modifier takes part.
struct Chord {
    std::uint16_t keyCode = 0;
    bool option = false;
    bool control = false;
    bool command = false;
    bool shift = false;

    /// (option or control) and not command; shift does not matter.
    bool isBindable() const { return (option || control) && !command; }

    bool operator==(const Chord&) const = default;
    /// By key code, then the flags; only so that chords can key ordered tables.
    auto operator<=>(const Chord&) const = default;
};

/// Written with all five keys. Reading needs "keyCode" (an unsigned 16-bit number); an absent
/// flag is false, a flag that is no boolean fails.
template <>
struct JSONCoding<Chord> {
    static JSONValue encode(const Chord& chord);
    static Chord decode(const JSONNode& node);
};

}  // namespace kelvo

template <>
struct std::hash<kelvo::Chord> {
    std::size_t operator()(const kelvo::Chord& chord) const noexcept {
        // The five fields fit in 20 bits, so the packed value is a perfect hash.
        return static_cast<std::size_t>(chord.keyCode) << 4 | std::size_t{chord.option} << 3 |
               std::size_t{chord.control} << 2 | std::size_t{chord.command} << 1 |
               std::size_t{chord.shift};
    }
};
