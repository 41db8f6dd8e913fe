#include "KelvoCore/Bindings/Keymap.h"

#include "KelvoCore/Bindings/ShortcutResolution.h"

namespace kelvo {

Keymap::Keymap(const Config& config) {
    const ShortcutResolution resolution = ShortcutResolution::resolve(config);
    table_.reserve(resolution.owners().size());
    for (const auto& [chord, owner] : resolution.owners())
        table_.emplace(chord, owner.command());
}

std::optional<Command> Keymap::command(const Chord& chord) const noexcept {
    auto it = table_.find(chord);
    if (it == table_.end()) return std::nullopt;
    return it->second;
}

}  // namespace kelvo
