#include "KelvoCore/Bindings/DefaultChords.h"

#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

namespace {

/// How a shortcut's default chords are made: one or two keys, with shift or not, and with
/// both modifiers (the resize family) or the primary alone.
struct Recipe {
    std::uint16_t key;
    std::optional<std::uint16_t> arrow = std::nullopt;
    bool shift = false;
    bool secondaryHeld = false;
};

Recipe recipe(Shortcut shortcut) {
    using K = KeyCode;
    switch (shortcut) {
        case Shortcut::focusLeft:
            return {K::h, K::leftArrow};
        case Shortcut::focusDown:
            return {K::j, K::downArrow};
        case Shortcut::focusUp:
            return {K::k, K::upArrow};
        case Shortcut::focusRight:
            return {K::l, K::rightArrow};
        case Shortcut::moveLeft:
            return {K::h, K::leftArrow, true};
        case Shortcut::moveDown:
            return {K::j, K::downArrow, true};
        case Shortcut::moveUp:
            return {K::k, K::upArrow, true};
        case Shortcut::moveRight:
            return {K::l, K::rightArrow, true};
        case Shortcut::resizeLeft:
            return {K::h, K::leftArrow, false, true};
        case Shortcut::resizeDown:
            return {K::j, K::downArrow, false, true};
        case Shortcut::resizeUp:
            return {K::k, K::upArrow, false, true};
        case Shortcut::resizeRight:
            return {K::l, K::rightArrow, false, true};
        case Shortcut::zoom:
            return {K::f};
        case Shortcut::rebalance:
            return {K::g};
        case Shortcut::split:
            return {K::e};
        case Shortcut::rotate:
            return {K::e, std::nullopt, true};
        case Shortcut::float_:
            return {K::v};
        case Shortcut::newTerminal:
            return {K::ret};
        case Shortcut::launcher:
            return {K::space};
        case Shortcut::promoteToMaster:
            return {K::m};
        case Shortcut::layoutMode:
            return {K::m, std::nullopt, true};
        case Shortcut::showDesktop:
            return {K::d};
        case Shortcut::cheatsheet:
            return {K::slash};
    }
    return {K::slash};
}

}  // namespace

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
    const Recipe r = recipe(shortcut);
    const Modifier p = config.primaryModifier;
    std::vector<Chord> chords{chord(r.key, p, r.shift, r.secondaryHeld)};
    if (r.arrow) chords.push_back(chord(*r.arrow, p, r.shift, r.secondaryHeld));
    return chords;
}

}  // namespace kelvo
