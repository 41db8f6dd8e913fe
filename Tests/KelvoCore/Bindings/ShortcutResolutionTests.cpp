#include <gtest/gtest.h>

#include <unordered_set>

#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Bindings/ShortcutEditor.h"
#include "KelvoCore/Bindings/ShortcutResolution.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {
namespace {

using K = KeyCode;
using Chords = std::vector<Chord>;

Chord opt(std::uint16_t key, bool shift = false) {
    return Chord{.keyCode = key, .option = true, .shift = shift};
}
Chord ctl(std::uint16_t key, bool shift = false) {
    return Chord{.keyCode = key, .control = true, .shift = shift};
}
Chord both(std::uint16_t key) {
    return Chord{.keyCode = key, .option = true, .control = true};
}

Config withLauncher(bool shown) {
    Config c;
    c.showLauncher = shown;
    return c;
}

std::size_t shortcutChordCount(const ShortcutResolution& r) {
    std::size_t count = 0;
    for (const auto& [chord, owner] : r.owners())
        count += owner.kind() == ShortcutOwner::Kind::shortcut;
    return count;
}

TEST(DefaultChords, FollowThePrimaryModifier) {
    EXPECT_EQ(DefaultChords::secondary(Modifier::option), Modifier::control);
    EXPECT_EQ(DefaultChords::secondary(Modifier::control), Modifier::option);
    Config c;
    EXPECT_EQ(DefaultChords::of(Shortcut::focusLeft, c), (Chords{opt(K::h), opt(K::leftArrow)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::moveDown, c),
              (Chords{opt(K::j, true), opt(K::downArrow, true)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::resizeUp, c), (Chords{both(K::k), both(K::upArrow)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::rotate, c), (Chords{opt(K::e, true)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::newTerminal, c), (Chords{opt(K::ret)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::launcher, c), (Chords{opt(K::space)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::launcher, withLauncher(false)), Chords{});
    c.primaryModifier = Modifier::control;
    EXPECT_EQ(DefaultChords::of(Shortcut::focusLeft, c), (Chords{ctl(K::h), ctl(K::leftArrow)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::resizeLeft, c), (Chords{both(K::h), both(K::leftArrow)}));
    EXPECT_EQ(DefaultChords::of(Shortcut::cheatsheet, c), (Chords{ctl(K::slash)}));
    for (Shortcut s : shortcut::allCases) {
        for (const Chord& chord : DefaultChords::of(s, c))
            EXPECT_TRUE(chord.isBindable()) << rawValue(s);
    }
}

TEST(ShortcutResolution, DefaultsCount34ShortcutChordsWithoutTheLauncherAnd35WithIt) {
    // 8 focus, 8 move, 8 resize and the 11 single shortcuts, the launcher among them.
    const auto off = ShortcutResolution::resolve(withLauncher(false));
    EXPECT_EQ(off.owners().size(), 18u + 34u);
    EXPECT_EQ(shortcutChordCount(off), 34u);
    EXPECT_TRUE(off.displaced().empty());
    EXPECT_TRUE(off.chords(Shortcut::launcher).empty());

    const auto on = ShortcutResolution::resolve(withLauncher(true));
    EXPECT_EQ(shortcutChordCount(on), 35u);
    EXPECT_EQ(on.chords(Shortcut::launcher), (Chords{opt(K::space)}));
    EXPECT_TRUE(on.displaced().empty());
}

TEST(ShortcutResolution, DesktopChordsComeFirstAndStopAtNine) {
    Config c;
    c.primaryModifier = Modifier::control;
    const auto r = ShortcutResolution::resolve(c);
    EXPECT_EQ(r.owner(ctl(18)), ShortcutOwner::desktopSwitch(1));
    EXPECT_EQ(r.owner(ctl(23)), ShortcutOwner::desktopSwitch(5));
    EXPECT_EQ(r.owner(ctl(25, true)), ShortcutOwner::desktopThrow(9));
    EXPECT_EQ(r.chords(Shortcut::focusLeft), (Chords{ctl(K::h), ctl(K::leftArrow)}));
    EXPECT_EQ(r.chords(Shortcut::resizeLeft), (Chords{both(K::h), both(K::leftArrow)}));

    const std::pair<std::int64_t, std::size_t> counts[] = {{-1, 0}, {0, 0},  {1, 2},   {3, 6},
                                                           {8, 16}, {9, 18}, {10, 18}, {12, 18}};
    for (const auto& [desktops, chords] : counts) {
        Config d;
        d.desktopCount = desktops;
        const auto resolved = ShortcutResolution::resolve(d);
        EXPECT_EQ(resolved.owners().size() - shortcutChordCount(resolved), chords) << desktops;
    }
}

TEST(ShortcutResolution, OverridesWinAndStandAlone) {
    struct Row {
        const char* name;
        void (*edit)(Config&);
        Shortcut shortcut;
        Chords chords;
        std::vector<Shortcut> displaced;
    };
    const Row rows[] = {
        {"an override takes another shortcut's default",
         [](Config& c) { c.shortcuts.set(opt(K::h), Shortcut::focusDown); },
         Shortcut::focusLeft,
         {opt(K::leftArrow)},
         {}},
        {"the override replaces its own defaults",
         [](Config& c) { c.shortcuts.set(opt(K::h), Shortcut::focusDown); },
         Shortcut::focusDown,
         {opt(K::h)},
         {}},
        {"the earlier of two equal overrides wins",
         [](Config& c) {
             c.shortcuts.set(opt(7), Shortcut::zoom);
             c.shortcuts.set(opt(7), Shortcut::float_);
         },
         Shortcut::float_,
         {},
         {Shortcut::float_}},
        {"an override on a desktop digit loses",
         [](Config& c) { c.shortcuts.set(opt(K::three), Shortcut::zoom); },
         Shortcut::zoom,
         {},
         {Shortcut::zoom}},
        {"the digit is free beyond the desktop count",
         [](Config& c) {
             c.desktopCount = 2;
             c.shortcuts.set(opt(K::three), Shortcut::zoom);
         },
         Shortcut::zoom,
         {opt(K::three)},
         {}},
        {"a cleared shortcut is not displaced",
         [](Config& c) { c.shortcuts.clear(Shortcut::split); },
         Shortcut::split,
         {},
         {}},
        {"a later override beats an earlier default",
         [](Config& c) { c.shortcuts.set(opt(K::f), Shortcut::cheatsheet); },
         Shortcut::zoom,
         {},
         {Shortcut::zoom}},
        {"an override of the launcher binds while it is switched off",
         [](Config& c) {
             c.showLauncher = false;
             c.shortcuts.set(opt(0), Shortcut::launcher);
         },
         Shortcut::launcher,
         {opt(0)},
         {}},
    };
    for (const Row& row : rows) {
        Config c;
        row.edit(c);
        const auto r = ShortcutResolution::resolve(c);
        EXPECT_EQ(r.chords(row.shortcut), row.chords) << row.name;
        EXPECT_EQ(r.displaced(), row.displaced) << row.name;
    }

    Config c;
    c.shortcuts.set(opt(K::h), Shortcut::focusDown);
    EXPECT_EQ(ShortcutResolution::resolve(c).owner(opt(K::j)), std::nullopt);
}

TEST(ShortcutOwner, TitlesCommandsAndHashing) {
    EXPECT_EQ(ShortcutOwner::shortcut(Shortcut::focusDown).title(), "Focus down");
    EXPECT_EQ(ShortcutOwner::desktopSwitch(3).title(), "Go to desktop 3");
    EXPECT_EQ(ShortcutOwner::desktopThrow(12).title(), "Send the window to desktop 12");
    EXPECT_EQ(ShortcutOwner::desktopThrow(2).command(), Command::throwTo(2));
    EXPECT_EQ(ShortcutOwner::shortcut(Shortcut::float_).command(), Command::toggleFloat());
    std::unordered_set<ShortcutOwner> owners{
        ShortcutOwner::desktopSwitch(1), ShortcutOwner::desktopThrow(1),
        ShortcutOwner::shortcut(Shortcut::focusLeft), ShortcutOwner::desktopSwitch(1)};
    EXPECT_EQ(owners.size(), 3u);
    EXPECT_NE(ShortcutOwner::desktopSwitch(1), ShortcutOwner::desktopThrow(1));
}

TEST(ShortcutEditor, Rejections) {
    Config c;
    struct Row {
        Chord chord;
        Shortcut shortcut;
        std::optional<ShortcutRejection> rejection;
        const char* message;
    };
    const Row rows[] = {
        {Chord{.keyCode = K::k, .option = true, .command = true}, Shortcut::zoom,
         ShortcutRejection::usesCommand(),
         "⌘ shortcuts are left to your applications. Kelvo opens a terminal window by sending "
         "one ⌘N, and it would swallow its own keystroke."},
        {Chord{.keyCode = K::k, .shift = true}, Shortcut::zoom, ShortcutRejection::noModifier(),
         "Hold ⌥ or ⌃ as well. A shortcut without one would take that key from every "
         "application on your Mac."},
        {opt(K::j), Shortcut::zoom, ShortcutRejection::taken("Focus down"),
         "Focus down already has that. Clear it there first."},
        {opt(K::one), Shortcut::zoom, ShortcutRejection::taken("Go to desktop 1"),
         "Go to desktop 1 already has that. Clear it there first."},
        {opt(K::two, true), Shortcut::zoom,
         ShortcutRejection::taken("Send the window to desktop 2"),
         "Send the window to desktop 2 already has that. Clear it there first."},
        {opt(K::j), Shortcut::focusDown, std::nullopt, ""},
        {opt(7), Shortcut::zoom, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        const auto rejection = ShortcutEditor::rejection(row.chord, row.shortcut, c);
        EXPECT_EQ(rejection, row.rejection) << row.message;
        if (rejection) {
            EXPECT_EQ(rejection->message(), row.message);
        }
    }
}

TEST(ShortcutEditor, BindClearAndReset) {
    const Config c;
    const auto refused = ShortcutEditor::bind(opt(K::j), Shortcut::zoom, c);
    ASSERT_TRUE(std::holds_alternative<ShortcutRejection>(refused));

    const auto bound = ShortcutEditor::bind(opt(7), Shortcut::zoom, c);
    ASSERT_TRUE(std::holds_alternative<Config>(bound));
    const Config& rebound = std::get<Config>(bound);
    EXPECT_EQ(ShortcutResolution::resolve(rebound).chords(Shortcut::zoom), (Chords{opt(7)}));
    Config onlyShortcuts = rebound;
    onlyShortcuts.shortcuts = c.shortcuts;
    EXPECT_EQ(onlyShortcuts, c);

    const Config cleared = ShortcutEditor::clear(Shortcut::focusLeft, c);
    const auto r = ShortcutResolution::resolve(cleared);
    EXPECT_TRUE(r.chords(Shortcut::focusLeft).empty());
    EXPECT_TRUE(r.displaced().empty());
    EXPECT_EQ(r.owner(opt(K::h)), std::nullopt);

    const Config restored = ShortcutEditor::reset(Shortcut::focusLeft, cleared);
    EXPECT_EQ(ShortcutResolution::resolve(restored).chords(Shortcut::focusLeft),
              (Chords{opt(K::h), opt(K::leftArrow)}));
    EXPECT_EQ(restored, c);

    // While cleared, its default was given away; after the reset only the free one returns.
    Config taken = ShortcutEditor::clear(Shortcut::focusLeft, c);
    taken = std::get<Config>(ShortcutEditor::bind(opt(K::h), Shortcut::zoom, taken));
    taken = ShortcutEditor::reset(Shortcut::focusLeft, taken);
    EXPECT_EQ(ShortcutResolution::resolve(taken).chords(Shortcut::focusLeft),
              (Chords{opt(K::leftArrow)}));
}

TEST(Keymap, BindsExactlyWhatTheResolutionOwns) {
    Config c;
    c.desktopCount = 3;
    const Keymap keymap(c);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(keymap.command(opt(KeyCode::digits[n - 1])), Command::switchTo(n));
        EXPECT_EQ(keymap.command(opt(KeyCode::digits[n - 1], true)), Command::throwTo(n));
    }
    for (int n = 4; n <= 9; ++n) {
        EXPECT_EQ(keymap.command(opt(KeyCode::digits[n - 1])), std::nullopt);
        EXPECT_EQ(keymap.command(opt(KeyCode::digits[n - 1], true)), std::nullopt);
    }
    EXPECT_EQ(keymap.command(opt(K::h)), Command::focus(Direction::left));
    EXPECT_EQ(keymap.command(opt(K::h, true)), Command::moveWindow(Direction::left));
    EXPECT_EQ(keymap.command(both(K::h)), Command::resize(Direction::left));
    EXPECT_EQ(
        keymap.command(Chord{.keyCode = K::h, .option = true, .control = true, .shift = true}),
        std::nullopt);
    EXPECT_EQ(keymap.command(Chord{.keyCode = K::h, .option = true, .command = true}),
              std::nullopt);
    EXPECT_EQ(keymap.command(ctl(K::h)), std::nullopt);
    EXPECT_EQ(keymap.command(opt(K::space)), Command::launcher());

    const auto resolution = ShortcutResolution::resolve(c);
    EXPECT_EQ(keymap.table().size(), resolution.owners().size());
    for (const auto& [chord, owner] : resolution.owners())
        EXPECT_EQ(keymap.command(chord), owner.command());

    Config wide;
    wide.desktopCount = 12;
    EXPECT_EQ(Keymap(wide).command(opt(K::nine)), Command::switchTo(9));
    EXPECT_EQ(Keymap().command(opt(K::h)), std::nullopt);
}

}  // namespace
}  // namespace kelvo
