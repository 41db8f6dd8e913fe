#include "Simulator/KeyboardLayout.h"

#include <array>
#include <string_view>

namespace sim {

namespace {

/// A key that types characters: its code, its character and its character with Shift.
struct Key {
    std::uint16_t code;
    std::string_view plain;
    std::string_view shifted;
};

constexpr std::array<Key, 50> typingKeys = {{
    {0, "a", "A"},    {1, "s", "S"},   {2, "d", "D"},    {3, "f", "F"},   {4, "h", "H"},
    {5, "g", "G"},    {6, "z", "Z"},   {7, "x", "X"},    {8, "c", "C"},   {9, "v", "V"},
    {11, "b", "B"},   {12, "q", "Q"},  {13, "w", "W"},   {14, "e", "E"},  {15, "r", "R"},
    {16, "y", "Y"},   {17, "t", "T"},  {18, "1", "!"},   {19, "2", "@"},  {20, "3", "#"},
    {21, "4", "$"},   {22, "6", "^"},  {23, "5", "%"},   {24, "=", "+"},  {25, "9", "("},
    {26, "7", "&"},   {27, "-", "_"},  {28, "8", "*"},   {29, "0", ")"},  {30, "]", "}"},
    {31, "o", "O"},   {32, "u", "U"},  {33, "[", "{"},   {34, "i", "I"},  {35, "p", "P"},
    {36, "\r", "\r"}, {37, "l", "L"},  {38, "j", "J"},   {39, "'", "\""}, {40, "k", "K"},
    {41, ";", ":"},   {42, "\\", "|"}, {43, ",", "<"},   {44, "/", "?"},  {45, "n", "N"},
    {46, "m", "M"},   {47, ".", ">"},  {48, "\t", "\t"}, {49, " ", " "},  {50, "`", "~"},
}};

/// Keys whose text is a control character or one of the platform's function-key characters.
constexpr std::array<std::pair<std::uint16_t, std::string_view>, 10> controlKeys = {{
    {51, "\x7f"},           // delete
    {53, "\x1b"},           // escape
    {76, "\x03"},           // keypad enter
    {115, "\xef\x9c\xa9"},  // home, U+F729
    {117, "\xef\x9c\xa8"},  // forward delete, U+F728
    {119, "\xef\x9c\xab"},  // end, U+F72B
    {123, "\xef\x9c\x82"},  // left arrow, U+F702
    {124, "\xef\x9c\x83"},  // right arrow, U+F703
    {125, "\xef\x9c\x81"},  // down arrow, U+F701
    {126, "\xef\x9c\x80"},  // up arrow, U+F700
}};

/// The length of the UTF-8 sequence that starts with this byte; 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool continues(const std::string& text, std::size_t at, std::size_t length) {
    if (at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

KeyboardLayout::Stroke strokeFor(const std::string& character) {
    if (character == "\n") return {36, 0, "\r"};
    for (const Key& key : typingKeys) {
        if (key.plain == character) return {key.code, 0, character};
        if (key.shifted == character) return {key.code, KeyboardLayout::shiftFlag, character};
    }
    return {0, 0, character};
}

}  // namespace

std::vector<KeyboardLayout::Stroke> KeyboardLayout::strokes(const std::string& text) {
    std::vector<Stroke> strokes;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(text[at]));
        if (length == 0 || !continues(text, at, length)) {
            ++at;
            continue;
        }
        strokes.push_back(strokeFor(text.substr(at, length)));
        at += length;
    }
    return strokes;
}

std::string KeyboardLayout::characters(std::uint16_t keyCode, std::uint64_t flags) {
    for (const Key& key : typingKeys) {
        if (key.code == keyCode) return std::string((flags & shiftFlag) ? key.shifted : key.plain);
    }
    for (const auto& [code, text] : controlKeys) {
        if (code == keyCode) return std::string(text);
    }
    return {};
}

}  // namespace sim
