#include "KelvoCore/Bindings/KeyReference.h"

#include <algorithm>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Bindings/ShortcutResolution.h"
#include "KelvoCore/Keys/CaseTable.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

namespace {

using G = KeyReference::Glyph;

using Kind = Command::Kind;
using D = Direction;

struct GlyphInfo {
    G glyph;
    /// The case name, except for `float`.
    const char* rawValue;
    /// The command the glyph stands for: its kind, and its direction for the three kinds that
    /// carry one (a desktop glyph stands for every desktop number).
    Kind kind;
    std::optional<Direction> direction;
};

/// Every glyph, in case order.
constexpr GlyphInfo glyphs[] = {
    {G::desktopSwitch, "desktopSwitch", Kind::switchTo, std::nullopt},
    {G::desktopThrow, "desktopThrow", Kind::throwTo, std::nullopt},
    {G::focusLeft, "focusLeft", Kind::focus, D::left},
    {G::focusDown, "focusDown", Kind::focus, D::down},
    {G::focusUp, "focusUp", Kind::focus, D::up},
    {G::focusRight, "focusRight", Kind::focus, D::right},
    {G::moveLeft, "moveLeft", Kind::moveWindow, D::left},
    {G::moveDown, "moveDown", Kind::moveWindow, D::down},
    {G::moveUp, "moveUp", Kind::moveWindow, D::up},
    {G::moveRight, "moveRight", Kind::moveWindow, D::right},
    {G::resizeLeft, "resizeLeft", Kind::resize, D::left},
    {G::resizeDown, "resizeDown", Kind::resize, D::down},
    {G::resizeUp, "resizeUp", Kind::resize, D::up},
    {G::resizeRight, "resizeRight", Kind::resize, D::right},
    {G::zoom, "zoom", Kind::toggleZoom, std::nullopt},
    {G::rebalance, "rebalance", Kind::rebalance, std::nullopt},
    {G::split, "split", Kind::toggleSplit, std::nullopt},
    {G::rotate, "rotate", Kind::rotate, std::nullopt},
    {G::float_, "float", Kind::toggleFloat, std::nullopt},
    {G::terminal, "terminal", Kind::newTerminal, std::nullopt},
    {G::launcher, "launcher", Kind::launcher, std::nullopt},
    {G::master, "master", Kind::promoteToMaster, std::nullopt},
    {G::layoutMode, "layoutMode", Kind::toggleLayoutMode, std::nullopt},
    {G::showDesktop, "showDesktop", Kind::showDesktop, std::nullopt},
    {G::cheatsheet, "cheatsheet", Kind::cheatsheet, std::nullopt},
};
static_assert(std::size(glyphs) == KeyReference::glyphCount &&
              inCaseOrder(glyphs, &GlyphInfo::glyph));

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
    static constexpr auto all = allCasesOf<Glyph, glyphCount>();
    return all;
}

std::string KeyReference::rawValue(Glyph glyph) {
    return caseRow(glyphs, glyph).rawValue;
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
    for (const GlyphInfo& info : glyphs) {
        if (info.kind != command.kind()) continue;
        if (!info.direction || info.direction == command.direction()) return info.glyph;
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
