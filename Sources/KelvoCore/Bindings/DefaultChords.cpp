#include "KelvoCore/Bindings/DefaultChords.h"

namespace kelvo {

Modifier DefaultChords::secondary(Modifier modifier) {
    return modifier == Modifier::option ? Modifier::control : Modifier::option;
}

Chord DefaultChords::chord(std::uint16_t keyCode, Modifier primary, bool shift,
                           bool secondaryHeld) {
    return Chord{.keyCode = keyCode,
                 .option = primary == Modifier::option || secondaryHeld,
                 .control = primary == Modifier::control || secondaryHeld,
                 .command = false,
                 .shift = shift};
}

std::vector<Chord> DefaultChords::of(Shortcut shortcut, const Config& config) {
    if (shortcut == Shortcut::launcher && !config.showLauncher) return {};
    const DefaultKeys keys = defaultKeys(shortcut);
    const Modifier p = config.primaryModifier;
    std::vector<Chord> chords{chord(keys.key, p, keys.shift, keys.secondaryHeld)};
    if (keys.arrow) chords.push_back(chord(*keys.arrow, p, keys.shift, keys.secondaryHeld));
    return chords;
}

}  // namespace kelvo
