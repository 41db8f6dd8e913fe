#include "KelvoCore/Bindings/ShortcutResolution.h"

#include <algorithm>

#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

ShortcutResolution ShortcutResolution::resolve(const Config& config) {
    ShortcutResolution r;
    r.bindDesktops(config);
    r.applyOverrides(config);
    r.applyDefaults(config);
    r.listDisplaced(config);
    return r;
}

bool ShortcutResolution::claim(const Chord& chord, const ShortcutOwner& owner) {
    return owners_.emplace(chord, owner).second;
}

void ShortcutResolution::bindDesktops(const Config& config) {
    const Modifier p = config.primaryModifier;
    const auto last = std::min<std::int64_t>(config.desktopCount, maxDigitDesktop);
    for (int n = 1; n <= last; ++n) {
        const std::uint16_t digit = KeyCode::digits[static_cast<std::size_t>(n - 1)];
        claim(DefaultChords::chord(digit, p, false, false), ShortcutOwner::desktopSwitch(n));
        claim(DefaultChords::chord(digit, p, true, false), ShortcutOwner::desktopThrow(n));
    }
}

void ShortcutResolution::applyOverrides(const Config& config) {
    for (Shortcut s : shortcut::allCases) {
        auto entry = config.shortcuts.override(s);
        if (!entry) continue;
        std::vector<Chord>& kept = chords_[s];
        // An override stands alone: when its chord is taken the defaults do not step in.
        if (auto chord = entry->chord(); chord && claim(*chord, ShortcutOwner::shortcut(s))) {
            kept.push_back(*chord);
        }
    }
}

void ShortcutResolution::applyDefaults(const Config& config) {
    for (Shortcut s : shortcut::allCases) {
        if (config.shortcuts.override(s)) continue;
        std::vector<Chord>& kept = chords_[s];
        for (const Chord& chord : DefaultChords::of(s, config)) {
            if (claim(chord, ShortcutOwner::shortcut(s))) kept.push_back(chord);
        }
    }
}

void ShortcutResolution::listDisplaced(const Config& config) {
    for (Shortcut s : shortcut::allCases) {
        if (!chords(s).empty()) continue;
        auto entry = config.shortcuts.override(s);
        const bool wantedNone = entry ? entry->kind() == ShortcutOverride::Kind::cleared
                                      : DefaultChords::of(s, config).empty();
        if (!wantedNone) displaced_.push_back(s);
    }
}

const std::vector<Chord>& ShortcutResolution::chords(Shortcut shortcut) const {
    static const std::vector<Chord> none;
    auto it = chords_.find(shortcut);
    return it == chords_.end() ? none : it->second;
}

std::optional<ShortcutOwner> ShortcutResolution::owner(const Chord& chord) const {
    auto it = owners_.find(chord);
    if (it == owners_.end()) return std::nullopt;
    return it->second;
}

std::optional<Command> ShortcutResolution::command(const Chord& chord) const {
    if (auto o = owner(chord)) return o->command();
    return std::nullopt;
}

}  // namespace kelvo
