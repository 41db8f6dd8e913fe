#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvo {

/// Virtual key codes of the keyboard, named after the key positions of the ANSI layout, and
/// the labels key caps show.
class KeyCode {
  public:
    static constexpr std::uint16_t d = 2, f = 3, h = 4, g = 5, v = 9, w = 13, e = 14;
    static constexpr std::uint16_t one = 18, two = 19, three = 20, four = 21, six = 22, five = 23;
    static constexpr std::uint16_t nine = 25, seven = 26, eight = 28;
    static constexpr std::uint16_t ret = 36, l = 37, j = 38, k = 40, slash = 44, m = 46;
    static constexpr std::uint16_t space = 49, escape = 53, keypadEnter = 76;
    static constexpr std::uint16_t leftArrow = 123, rightArrow = 124, downArrow = 125,
                                   upArrow = 126;

    /// The digit keys 1 to 9 in desktop order: desktop n is bound to digits[n − 1]. The codes
    /// are not ascending.
    static constexpr std::array<std::uint16_t, 9> digits = {one, two,   three, four, five,
                                                            six, seven, eight, nine};

    struct Name {
        std::uint16_t code;
        std::string_view label;
    };
    /// Every key with a label, ascending by code.
    static std::span<const Name> names();

    /// The table's label, or "key " and the decimal code.
    static std::string label(std::uint16_t code);

  private:
    static std::optional<std::string_view> lookup(std::uint16_t code);
};

}  // namespace kelvo
