#include "KelvoCore/Bindings/ShortcutEditor.h"

#include "KelvoCore/Bindings/ShortcutResolution.h"

namespace kelvo {

std::optional<ShortcutRejection> ShortcutEditor::rejection(const Chord& chord, Shortcut shortcut,
                                                           const Config& config) {
    if (chord.command) return ShortcutRejection::usesCommand();
    if (!chord.option && !chord.control) return ShortcutRejection::noModifier();
    auto owner = ShortcutResolution::resolve(config).owner(chord);
    if (owner && owner != ShortcutOwner::shortcut(shortcut)) {
        return ShortcutRejection::taken(owner->title());
    }
    return std::nullopt;
}

ShortcutEditor::BindResult ShortcutEditor::bind(const Chord& chord, Shortcut shortcut,
                                                const Config& config) {
    if (auto refused = rejection(chord, shortcut, config)) return *refused;
    Config changed = config;
    changed.shortcuts.set(chord, shortcut);
    return changed;
}

Config ShortcutEditor::clear(Shortcut shortcut, const Config& config) {
    Config changed = config;
    changed.shortcuts.clear(shortcut);
    return changed;
}

Config ShortcutEditor::reset(Shortcut shortcut, const Config& config) {
    Config changed = config;
    changed.shortcuts.reset(shortcut);
    return changed;
}

}  // namespace kelvo
