#include "KelvoCore/Keys/KeyCode.h"

#include <algorithm>

namespace kelvo {

namespace {

// Letters and symbols as printed on the caps, "Pad " for the keypad, symbols for Return,
// Tab, Delete, Escape, forward delete, keypad clear and enter and the arrows, words for the
// rest. Codes without a cap (the modifier keys among them) have no entry.
constexpr KeyCode::Name keyNames[] = {
    {0, "A"},      {1, "S"},      {2, "D"},      {3, "F"},      {4, "H"},
    {5, "G"},      {6, "Z"},      {7, "X"},      {8, "C"},      {9, "V"},
    {11, "B"},     {12, "Q"},     {13, "W"},     {14, "E"},     {15, "R"},
    {16, "Y"},     {17, "T"},     {18, "1"},     {19, "2"},     {20, "3"},
    {21, "4"},     {22, "6"},     {23, "5"},     {24, "="},     {25, "9"},
    {26, "7"},     {27, "-"},     {28, "8"},     {29, "0"},     {30, "]"},
    {31, "O"},     {32, "U"},     {33, "["},     {34, "I"},     {35, "P"},
    {36, "↩"},     {37, "L"},     {38, "J"},     {39, "'"},     {40, "K"},
    {41, ";"},     {42, "\\"},    {43, ","},     {44, "/"},     {45, "N"},
    {46, "M"},     {47, "."},     {48, "⇥"},     {49, "Space"}, {50, "`"},
    {51, "⌫"},     {53, "⎋"},     {65, "Pad ."}, {67, "Pad *"}, {69, "Pad +"},
    {71, "Pad ⌧"}, {75, "Pad /"}, {76, "Pad ↩"}, {78, "Pad -"}, {81, "Pad ="},
    {82, "Pad 0"}, {83, "Pad 1"}, {84, "Pad 2"}, {85, "Pad 3"}, {86, "Pad 4"},
    {87, "Pad 5"}, {88, "Pad 6"}, {89, "Pad 7"}, {91, "Pad 8"}, {92, "Pad 9"},
    {96, "F5"},    {97, "F6"},    {98, "F7"},    {99, "F3"},    {100, "F8"},
    {101, "F9"},   {103, "F11"},  {105, "F13"},  {107, "F14"},  {109, "F10"},
    {111, "F12"},  {113, "F15"},  {114, "Help"}, {115, "Home"}, {116, "Page up"},
    {117, "⌦"},    {118, "F4"},   {119, "End"},  {120, "F2"},   {121, "Page down"},
    {122, "F1"},   {123, "←"},    {124, "→"},    {125, "↓"},    {126, "↑"},
};

}  // namespace

std::span<const KeyCode::Name> KeyCode::names() {
    return keyNames;
}

std::optional<std::string_view> KeyCode::lookup(std::uint16_t code) {
    const auto table = names();
    auto it = std::lower_bound(table.begin(), table.end(), code,
                               [](const Name& name, std::uint16_t c) { return name.code < c; });
    if (it == table.end() || it->code != code) return std::nullopt;
    return it->label;
}

std::string KeyCode::label(std::uint16_t code) {
    if (auto label = lookup(code)) return std::string(*label);
    return "key " + std::to_string(code);
}

}  // namespace kelvo
