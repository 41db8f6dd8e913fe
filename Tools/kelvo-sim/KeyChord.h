#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo_sim {

/// A key with the modifiers held while it is pressed, as a person types it on the command
/// line: "alt+1", "alt+shift+left", "ctrl+alt+l", "cmd+n", or as the key caps read: "⌥⇧2",
/// "⌃⌥L", "⌥←". Modifiers come first ("cmd", "alt", "ctrl", "shift", also "command",
/// "option", "control", or the glyphs ⌘ ⌥ ⌃ ⇧, which need no "+"), then one key name, all
/// without regard to letter case.
struct KeyChord {
    std::uint16_t keyCode = 0;
    /// The event flags of the held modifiers.
    std::uint64_t flags = 0;

    /// The chord, or none with `error` saying what is wrong.
    static std::optional<KeyChord> parse(std::string_view text, std::string* error = nullptr);
    /// The flags of modifiers joined by "+" ("alt+shift") or written as glyphs ("⌥⇧"), or
    /// none with `error` saying what is wrong.
    static std::optional<std::uint64_t> modifierFlags(std::string_view text,
                                                      std::string* error = nullptr);
    /// The key code of a key name: the key-code table's label in lower case ("a", "1", "=",
    /// "f5"), its symbols spelled out ("return", "tab", "delete", "escape", "forwarddelete",
    /// "left", "right", "down", "up"), blanks dropped ("space", "pageup", "pad5", "padenter");
    /// the label itself ("←", "Page up") names the key too.
    static std::optional<std::uint16_t> keyNamed(std::string_view name);
    /// Every key name, in key-code order, for the usage text.
    static std::vector<std::string> keyNames();

    bool operator==(const KeyChord&) const = default;
};

}  // namespace kelvo_sim
