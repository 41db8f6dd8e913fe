#include "KelvoCore/Bindings/KeyReference.h"

#include <algorithm>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Bindings/ShortcutResolution.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

namespace {

using G = KeyReference::Glyph;

constexpr std::array<const char*, KeyReference::glyphCount> glyphNames = {
    "desktopSwitch", "desktopThrow", "focusLeft",  "focusDown",   "focusUp",
    "focusRight",    "moveLeft",     "moveDown",   "moveUp",      "moveRight",
    "resizeLeft",    "resizeDown",   "resizeUp",   "resizeRight", "zoom",
    "rebalance",     "split",        "rotate",     "float",       "terminal",
    "launcher",      "master",       "layoutMode", "showDesktop", "cheatsheet",
};

/// The glyph of a direction within a family listed left, down, up, right.
G directional(G left, Direction d) {
    constexpr int down = 1, up = 2, right = 3;
    const int offset = d == Direction::left   ? 0
                       : d == Direction::down ? down
                       : d == Direction::up   ? up
                                              : right;
    return static_cast<G>(static_cast<int>(left) + offset);
}

struct RowText {
    Shortcut shortcut;
    const char* what;
};

struct SectionText {
    const char* title;
    std::vector<RowText> rows;
};

const std::vector<SectionText>& shortcutSections() {
    static const std::vector<SectionText> sections = {
        {"Focus",
         {{Shortcut::focusLeft, "Focus the window to the left"},
          {Shortcut::focusDown, "Focus the window below"},
          {Shortcut::focusUp, "Focus the window above"},
          {Shortcut::focusRight, "Focus the window to the right"}}},
        {"Move",
         {{Shortcut::moveLeft, "Swap the focused window with the one to its left"},
          {Shortcut::moveDown, "Swap the focused window with the one below it"},
          {Shortcut::moveUp, "Swap the focused window with the one above it"},
          {Shortcut::moveRight, "Swap the focused window with the one to its right"}}},
        {"Resize",
         {{Shortcut::resizeLeft,
           "Move the shared edge left. The window on the left gives up the space"},
          {Shortcut::resizeDown, "Move the shared edge down. The window below gives up the space"},
          {Shortcut::resizeUp, "Move the shared edge up. The window above gives up the space"},
          {Shortcut::resizeRight,
           "Move the shared edge right. The window on the right gives up the space"}}},
        {"Windows",
         {{Shortcut::zoom, "Fill the desktop with the focused window. Press again to put it back"},
          {Shortcut::rebalance,
           "Lay this desktop out again as an even grid. Any window Kelvo had given up on is "
           "tried again"},
          {Shortcut::split,
           "Flip the focused window and its neighbour between side by side and stacked"},
          {Shortcut::rotate, "Flip every split on this desktop at once, so columns become rows"},
          {Shortcut::float_,
           "Take the focused window out of the tiling and leave it where it is. Press again to "
           "tile it"},
          {Shortcut::newTerminal, "Open a new terminal window"}}},
        {"Main window",
         {{Shortcut::promoteToMaster,
           "Make the focused window the main one, in the big pane. Whatever was there goes to "
           "the top of the stack beside it"},
          {Shortcut::layoutMode,
           "Switch this desktop between one main window with the rest stacked beside it, and "
           "splitting whichever window you are in"}}},
        {"Help",
         {{Shortcut::cheatsheet,
           "Put every shortcut on screen at once. Press it again, or Escape, to put it away"}}},
    };
    return sections;
}

constexpr const char* launcherTitle = "Applications";
constexpr const char* launcherWhat =
    "Find an application by name. Enter goes to its window or launches it; ⇧Enter brings the "
    "window to this desktop instead";
constexpr const char* showDesktopWhat =
    "Put every window on this desktop out of sight, so you can see the desktop itself. Press "
    "again to bring them all back";

KeyReference::Entry shortcutEntry(Shortcut s, const char* what, const ShortcutResolution& r,
                                  Modifier primary) {
    const std::vector<Chord>& chords = r.chords(s);
    std::vector<std::vector<std::string>> caps;
    for (const Chord& chord : chords)
        caps.push_back(KeyReference::caps(chord, primary));
    std::optional<Chord> sample;
    if (!chords.empty()) sample = chords.front();
    return KeyReference::Entry(rawValue(s), s, std::move(caps), what, sample, command(s));
}

}  // namespace

const std::array<KeyReference::Glyph, KeyReference::glyphCount>& KeyReference::allGlyphs() {
    static const auto glyphs = [] {
        std::array<Glyph, glyphCount> all{};
        for (std::size_t i = 0; i < glyphCount; ++i)
            all[i] = static_cast<Glyph>(i);
        return all;
    }();
    return glyphs;
}

std::string KeyReference::rawValue(Glyph glyph) {
    return glyphNames[static_cast<std::size_t>(glyph)];
}

std::optional<KeyReference::Glyph> KeyReference::glyphFromRawValue(const std::string& raw) {
    return caseWithRawValue<Glyph>(allGlyphs(), raw, [](Glyph g) { return rawValue(g); });
}

KeyReference::Entry::Entry(std::string id, std::optional<Shortcut> shortcut,
                           std::vector<std::vector<std::string>> caps, std::string what,
                           std::optional<Chord> sample, Command command)
    : id(std::move(id)),
      shortcut(shortcut),
      caps(std::move(caps)),
      what(std::move(what)),
      sample(sample),
      command(command),
      glyph(KeyReference::glyph(command)) {}

std::string KeyReference::Entry::keys() const {
    static constexpr const char* chordSeparator = "  /  ";
    std::string text;
    for (std::size_t i = 0; i < caps.size(); ++i) {
        if (i > 0) text += chordSeparator;
        for (const std::string& cap : caps[i])
            text += cap;
    }
    return text;
}

std::string KeyReference::symbol(Modifier modifier) {
    return modifier == Modifier::option ? "⌥" : "⌃";
}

Modifier KeyReference::secondary(Modifier modifier) {
    return DefaultChords::secondary(modifier);
}

std::vector<std::string> KeyReference::caps(const Chord& chord, Modifier primary) {
    const auto held = [&](Modifier m) {
        return m == Modifier::option ? chord.option : chord.control;
    };
    std::vector<std::string> caps;
    if (chord.command) caps.push_back("⌘");
    if (held(secondary(primary))) caps.push_back(symbol(secondary(primary)));
    if (held(primary)) caps.push_back(symbol(primary));
    if (chord.shift) caps.push_back("⇧");
    caps.push_back(KeyCode::label(chord.keyCode));
    return caps;
}

std::optional<KeyReference::Glyph> KeyReference::glyph(const Command& command) {
    using Kind = Command::Kind;
    switch (command.kind()) {
        case Kind::switchTo:
            return G::desktopSwitch;
        case Kind::throwTo:
            return G::desktopThrow;
        case Kind::focus:
            return directional(G::focusLeft, *command.direction());
        case Kind::moveWindow:
            return directional(G::moveLeft, *command.direction());
        case Kind::resize:
            return directional(G::resizeLeft, *command.direction());
        case Kind::toggleZoom:
            return G::zoom;
        case Kind::toggleFloat:
            return G::float_;
        case Kind::closeWindow:
            return std::nullopt;
        case Kind::newTerminal:
            return G::terminal;
        case Kind::rebalance:
            return G::rebalance;
        case Kind::toggleSplit:
            return G::split;
        case Kind::rotate:
            return G::rotate;
        case Kind::launcher:
            return G::launcher;
        case Kind::promoteToMaster:
            return G::master;
        case Kind::toggleLayoutMode:
            return G::layoutMode;
        case Kind::showDesktop:
            return G::showDesktop;
        case Kind::cheatsheet:
            return G::cheatsheet;
    }
    return std::nullopt;
}

std::string KeyReference::desktopRange(std::int64_t desktopCount) {
    if (desktopCount <= 1) return "1";
    return "1 – " + std::to_string(
                        std::min<std::int64_t>(desktopCount, ShortcutResolution::maxDigitDesktop));
}

std::vector<KeyReference::Section> KeyReference::sections(const Config& config) {
    const Modifier p = config.primaryModifier;
    const std::string s = symbol(p);
    const std::string range = desktopRange(config.desktopCount);
    const ShortcutResolution resolution = ShortcutResolution::resolve(config);
    const Chord digitOne = DefaultChords::chord(KeyCode::one, p, false, false);
    Chord digitOneShifted = digitOne;
    digitOneShifted.shift = true;

    std::vector<Section> sections;
    sections.push_back(
        Section{"Desktops",
                {Entry("desktopSwitch", std::nullopt, {{s, range}}, "Go to desktop " + range,
                       digitOne, Command::switchTo(1)),
                 Entry("desktopThrow", std::nullopt, {{s, "⇧", range}},
                       "Send the focused window to desktop " + range + ". You stay where you are",
                       digitOneShifted, Command::throwTo(1)),
                 shortcutEntry(Shortcut::showDesktop, showDesktopWhat, resolution, p)}});
    for (const SectionText& text : shortcutSections()) {
        Section section{text.title, {}};
        for (const RowText& row : text.rows)
            section.entries.push_back(shortcutEntry(row.shortcut, row.what, resolution, p));
        sections.push_back(std::move(section));
    }
    if (config.showLauncher) {
        sections.push_back(Section{
            launcherTitle, {shortcutEntry(Shortcut::launcher, launcherWhat, resolution, p)}});
    }
    return sections;
}

}  // namespace kelvo
