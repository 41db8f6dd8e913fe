#include "KeyChord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "KelvoCore/Keys/KeyCode.h"
#include "Platform/Quartz/CGEvent.h"

namespace kelvo_sim {

namespace {

/// The labels of the key-code table that are symbols, spelled out for typing.
constexpr std::array<std::pair<std::string_view, std::string_view>, 10> spelled = {{
    {"↩", "return"},
    {"⇥", "tab"},
    {"⌫", "delete"},
    {"⎋", "escape"},
    {"⌦", "forwarddelete"},
    {"⌧", "clear"},
    {"←", "left"},
    {"→", "right"},
    {"↓", "down"},
    {"↑", "up"},
}};

/// Other spellings people type.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> aliases = {{
    {"enter", "return"},
    {"esc", "escape"},
    {"backspace", "delete"},
    {"spacebar", "space"},
}};

/// The modifiers as the key caps and the menus show them; they need no "+" between them.
constexpr std::array<std::pair<std::string_view, CGEventFlags>, 4> glyphs = {{
    {"⌘", kCGEventFlagMaskCommand},
    {"⌥", kCGEventFlagMaskAlternate},
    {"⌃", kCGEventFlagMaskControl},
    {"⇧", kCGEventFlagMaskShift},
}};

constexpr std::array<std::pair<std::string_view, CGEventFlags>, 7> modifiers = {{
    {"cmd", kCGEventFlagMaskCommand},
    {"command", kCGEventFlagMaskCommand},
    {"alt", kCGEventFlagMaskAlternate},
    {"option", kCGEventFlagMaskAlternate},
    {"ctrl", kCGEventFlagMaskControl},
    {"control", kCGEventFlagMaskControl},
    {"shift", kCGEventFlagMaskShift},
}};

std::string lowercase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

/// A table label as it is typed: symbols spelled out, blanks dropped, lower case ("Pad ↩"
/// becomes "padreturn", "Pad +" "padplus").
std::string typedName(std::string_view label) {
    std::string name;
    for (std::size_t at = 0; at < label.size();) {
        const auto found = std::find_if(spelled.begin(), spelled.end(), [&](const auto& entry) {
            return label.substr(at).starts_with(entry.first);
        });
        if (found != spelled.end()) {
            name += found->second;
            at += found->first.size();
            continue;
        }
        if (label[at] == '+' && label.size() > 1) {
            name += "plus";
        } else if (label[at] != ' ') {
            name += label[at];
        }
        ++at;
    }
    return lowercase(name);
}

}  // namespace

std::vector<std::string> KeyChord::keyNames() {
    std::vector<std::string> names;
    for (const auto& entry : kelvo::KeyCode::names())
        names.push_back(typedName(entry.label));
    return names;
}

std::optional<std::uint16_t> KeyChord::keyNamed(std::string_view typed) {
    // A key may also be typed as its cap reads: "←", "↩", "Page up".
    std::string name = typedName(typed);
    for (const auto& [alias, meant] : aliases) {
        if (name == alias) name = meant;
        if (name == "pad" + std::string(alias)) name = "pad" + std::string(meant);
    }
    for (const auto& entry : kelvo::KeyCode::names()) {
        if (typedName(entry.label) == name) return entry.code;
    }
    return std::nullopt;
}

namespace {

std::vector<std::string_view> splitAtPlus(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find('+', start);
        parts.push_back(text.substr(start, plus - start));
        if (plus == std::string_view::npos) return parts;
        start = plus + 1;
    }
}

/// Takes the modifier glyphs off the front of `text` ("⌥⇧2" leaves "2", "⌃+⌥+l" leaves "l")
/// and gives their flags.
std::uint64_t takeGlyphs(std::string_view& text) {
    std::uint64_t flags = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [glyph, flag] : glyphs) {
            if (!text.starts_with(glyph)) continue;
            flags |= flag;
            text.remove_prefix(glyph.size());
            if (text.starts_with('+')) text.remove_prefix(1);
            found = true;
        }
    }
    return flags;
}

std::optional<std::uint64_t> flagsOf(const std::vector<std::string_view>& names,
                                     std::uint64_t flags, std::string* error) {
    for (const auto part : names) {
        const std::string name = lowercase(part);
        const auto found = std::find_if(modifiers.begin(), modifiers.end(),
                                        [&](const auto& entry) { return entry.first == name; });
        if (found == modifiers.end()) {
            if (error) {
                *error = "no such modifier \"" + std::string(part) +
                         "\" (use cmd, alt, ctrl, shift or ⌘ ⌥ ⌃ ⇧)";
            }
            return std::nullopt;
        }
        flags |= found->second;
    }
    return flags;
}

}  // namespace

std::optional<std::uint64_t> KeyChord::modifierFlags(std::string_view text, std::string* error) {
    std::string_view words = text;
    const std::uint64_t glyphFlags = takeGlyphs(words);
    if (words.empty() && glyphFlags != 0) return glyphFlags;
    return flagsOf(splitAtPlus(words), glyphFlags, error);
}

std::optional<KeyChord> KeyChord::parse(std::string_view text, std::string* error) {
    std::string_view rest = text;
    const std::uint64_t glyphFlags = takeGlyphs(rest);
    auto parts = splitAtPlus(rest);
    const std::string_view key = parts.back();
    parts.pop_back();
    const auto flags = flagsOf(parts, glyphFlags, error);
    if (!flags) return std::nullopt;
    const auto code = keyNamed(key);
    if (!code) {
        if (error) {
            *error = key.empty() ? "no key in \"" + std::string(text) + "\""
                                 : "no key named \"" + std::string(key) + "\"";
        }
        return std::nullopt;
    }
    return KeyChord{*code, *flags};
}

}  // namespace kelvo_sim
