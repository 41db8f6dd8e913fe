#include "KelvoCore/Keys/ShortcutOverrides.h"

namespace kelvo {

std::optional<Chord> ShortcutOverride::chord() const {
    if (kind_ != Kind::chord) return std::nullopt;
    return chord_;
}

std::optional<ShortcutOverride> ShortcutOverrides::override(Shortcut shortcut) const {
    auto it = entries.find(shortcut);
    if (it == entries.end()) return std::nullopt;
    return it->second;
}

void ShortcutOverrides::set(Chord chord, Shortcut shortcut) {
    entries.insert_or_assign(shortcut, ShortcutOverride::chord(chord));
}

void ShortcutOverrides::clear(Shortcut shortcut) {
    entries.insert_or_assign(shortcut, ShortcutOverride::cleared());
}

void ShortcutOverrides::reset(Shortcut shortcut) {
    entries.erase(shortcut);
}

JSONValue JSONCoding<ShortcutOverrides>::encode(const ShortcutOverrides& overrides) {
    JSONValue object = JSONValue::object();
    for (const auto& [shortcut, entry] : overrides.entries) {
        auto chord = entry.chord();
        object[rawValue(shortcut)] = chord ? encodeJSON(*chord) : JSONValue(nullptr);
    }
    return object;
}

std::optional<ShortcutOverride> JSONCoding<ShortcutOverrides>::decodeEntry(const JSONNode& value) {
    if (value.isNull()) return ShortcutOverride::cleared();
    try {
        const Chord chord = value.decode<Chord>();
        if (!chord.isBindable()) return std::nullopt;
        return ShortcutOverride::chord(chord);
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

ShortcutOverrides JSONCoding<ShortcutOverrides>::decode(const JSONNode& node) {
    ShortcutOverrides overrides;
    if (!node.isObject()) return overrides;
    for (const std::string& key : node.keys()) {
        auto shortcut = shortcutFromRawValue(key);
        if (!shortcut) continue;
        if (auto entry = decodeEntry(node[key]))
            overrides.entries.insert_or_assign(*shortcut, *entry);
    }
    return overrides;
}

}  // namespace kelvo
