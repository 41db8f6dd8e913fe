#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

/// The desktop's keyboard: a US layout. It says which key (and whether Shift) types a
/// character, and what text a key types, the way the platform's events carry both.
struct KeyboardLayout {
    KeyboardLayout() = delete;

    static constexpr std::uint64_t shiftFlag = 0x20000;

    /// One key press that types some text.
    struct Stroke {
        std::uint16_t keyCode = 0;
        std::uint64_t flags = 0;
        std::string characters;
        bool operator==(const Stroke&) const = default;
    };

    /// One stroke per character (Unicode scalar) of the UTF-8 text; characters without a key
    /// come on key code 0 without flags. Bytes that are not UTF-8 are left out.
    static std::vector<Stroke> strokes(const std::string& text);
    /// The text the key types with these flags (Shift picks the upper character); the arrows,
    /// Home, End and Forward Delete give the platform's function-key characters; empty for a
    /// key that types nothing.
    static std::string characters(std::uint16_t keyCode, std::uint64_t flags);
};

}  // namespace sim
