#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_set>

#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Keys/KeyCode.h"

// The command vocabularies are three tables in their own orders (commands, shortcuts, glyphs);
// these tests hold them to one another.

namespace kelvo {
namespace {

using Glyph = KeyReference::Glyph;
using Kind = Command::Kind;

TEST(CommandTables, TheKindsKeepTheirOrderAndWhatTheyCarry) {
    std::string names;
    for (Kind kind : Command::allKinds)
        names += Command::name(kind) + " ";
    EXPECT_EQ(names,
              "switchTo throwTo focus moveWindow resize toggleZoom toggleFloat closeWindow "
              "newTerminal rebalance toggleSplit rotate launcher promoteToMaster "
              "toggleLayoutMode showDesktop cheatsheet ");
    for (Kind kind : Command::allKinds) {
        const bool desktop = kind == Kind::switchTo || kind == Kind::throwTo;
        const bool direction =
            kind == Kind::focus || kind == Kind::moveWindow || kind == Kind::resize;
        EXPECT_EQ(Command::carriesDesktop(kind), desktop) << Command::name(kind);
        EXPECT_EQ(Command::carriesDirection(kind), direction) << Command::name(kind);
        EXPECT_EQ(Command::plain(kind).has_value(), !desktop && !direction);
    }
}

TEST(CommandTables, EveryShortcutRunsACommandWithAGlyphOfItsOwn) {
    std::set<Glyph> taken;
    for (Shortcut s : shortcut::allCases) {
        const auto glyph = KeyReference::glyph(command(s));
        ASSERT_TRUE(glyph) << rawValue(s);
        EXPECT_TRUE(taken.insert(*glyph).second) << rawValue(s) << " shares its glyph";
    }
    // The glyphs left over are the desktop rows': each stands for every desktop number.
    std::set<Glyph> rest;
    for (Glyph g : KeyReference::allGlyphs()) {
        if (!taken.count(g)) rest.insert(g);
    }
    EXPECT_EQ(rest, (std::set<Glyph>{Glyph::desktopSwitch, Glyph::desktopThrow}));
    for (int n : {1, 9, 12}) {
        EXPECT_EQ(KeyReference::glyph(Command::switchTo(n)), Glyph::desktopSwitch);
        EXPECT_EQ(KeyReference::glyph(Command::throwTo(n)), Glyph::desktopThrow);
    }
}

TEST(CommandTables, EveryKindButClosingAWindowHasKeysThatRunIt) {
    for (Kind kind : Command::allKinds) {
        const bool byShortcut = std::any_of(shortcut::allCases.begin(), shortcut::allCases.end(),
                                            [&](Shortcut s) { return command(s).kind() == kind; });
        const bool byDigits = Command::carriesDesktop(kind);
        if (kind == Kind::closeWindow) {
            EXPECT_FALSE(byShortcut || byDigits);
            EXPECT_EQ(KeyReference::glyph(Command::closeWindow()), std::nullopt);
        } else {
            EXPECT_NE(byShortcut, byDigits) << Command::name(kind);
        }
    }
}

TEST(CommandTables, EachDirectionalFamilyHasOneShortcutPerDirectionOnItsKeys) {
    const std::map<Direction, std::pair<std::uint16_t, std::uint16_t>> keys = {
        {Direction::left, {KeyCode::h, KeyCode::leftArrow}},
        {Direction::down, {KeyCode::j, KeyCode::downArrow}},
        {Direction::up, {KeyCode::k, KeyCode::upArrow}},
        {Direction::right, {KeyCode::l, KeyCode::rightArrow}},
    };
    for (Kind kind : Command::allKinds) {
        if (!Command::carriesDirection(kind)) continue;
        std::set<Direction> seen;
        for (Shortcut s : shortcut::allCases) {
            const Command c = command(s);
            if (c.kind() != kind) continue;
            seen.insert(*c.direction());
            const DefaultKeys defaults = defaultKeys(s);
            EXPECT_EQ(defaults.key, keys.at(*c.direction()).first) << rawValue(s);
            EXPECT_EQ(defaults.arrow, keys.at(*c.direction()).second) << rawValue(s);
        }
        EXPECT_EQ(seen.size(), 4u) << Command::name(kind);
    }
}

TEST(CommandTables, DefaultChordsAreBindableAndDistinctUnderEitherModifier) {
    for (Modifier primary : modifier::allCases) {
        Config config;
        config.primaryModifier = primary;
        // The digits with the primary modifier, with and without shift, switch and throw.
        std::unordered_set<Chord> seen;
        for (std::uint16_t digit : KeyCode::digits) {
            for (bool shift : {false, true})
                seen.insert(DefaultChords::chord(digit, primary, shift, false));
        }
        for (Shortcut s : shortcut::allCases) {
            const auto chords = DefaultChords::of(s, config);
            EXPECT_FALSE(chords.empty()) << rawValue(s);
            for (const Chord& chord : chords) {
                EXPECT_TRUE(chord.isBindable()) << rawValue(s);
                EXPECT_TRUE(seen.insert(chord).second) << rawValue(s) << " shares a chord";
            }
        }
    }
}

TEST(CommandTables, NamesAndTitlesAreDistinct) {
    std::set<std::string> commandNames, shortcutNames, titles, glyphNames;
    for (Kind kind : Command::allKinds)
        EXPECT_TRUE(commandNames.insert(Command::name(kind)).second);
    for (Shortcut s : shortcut::allCases) {
        EXPECT_TRUE(shortcutNames.insert(rawValue(s)).second) << rawValue(s);
        EXPECT_TRUE(titles.insert(title(s)).second) << title(s);
    }
    for (Glyph g : KeyReference::allGlyphs())
        EXPECT_TRUE(glyphNames.insert(KeyReference::rawValue(g)).second);
}

}  // namespace
}  // namespace kelvo
