#include <gtest/gtest.h>

#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {
namespace {

using Caps = std::vector<std::vector<std::string>>;

struct Row {
    std::string section;
    std::string id;
    std::string keys;
    std::string what;
};

/// Every row of the reference as the user reads it, for primary symbol P; the resize rows
/// hold both modifiers with the one that is not primary first.
std::vector<Row> expectedRows(const std::string& P, const std::string& both, bool launcher) {
    std::vector<Row> rows = {
        {"Desktops", "desktopSwitch", P + "1 – 9", "Go to desktop 1 – 9"},
        {"Desktops", "desktopThrow", P + "⇧1 – 9",
         "Send the focused window to desktop 1 – 9. You stay where you are"},
        {"Desktops", "showDesktop", P + "D",
         "Put every window on this desktop out of sight, so you can see the desktop itself. "
         "Press again to bring them all back"},
        {"Focus", "focusLeft", P + "H  /  " + P + "←", "Focus the window to the left"},
        {"Focus", "focusDown", P + "J  /  " + P + "↓", "Focus the window below"},
        {"Focus", "focusUp", P + "K  /  " + P + "↑", "Focus the window above"},
        {"Focus", "focusRight", P + "L  /  " + P + "→", "Focus the window to the right"},
        {"Move", "moveLeft", P + "⇧H  /  " + P + "⇧←",
         "Swap the focused window with the one to its left"},
        {"Move", "moveDown", P + "⇧J  /  " + P + "⇧↓",
         "Swap the focused window with the one below it"},
        {"Move", "moveUp", P + "⇧K  /  " + P + "⇧↑",
         "Swap the focused window with the one above it"},
        {"Move", "moveRight", P + "⇧L  /  " + P + "⇧→",
         "Swap the focused window with the one to its right"},
        {"Resize", "resizeLeft", both + "H  /  " + both + "←",
         "Move the shared edge left. The window on the left gives up the space"},
        {"Resize", "resizeDown", both + "J  /  " + both + "↓",
         "Move the shared edge down. The window below gives up the space"},
        {"Resize", "resizeUp", both + "K  /  " + both + "↑",
         "Move the shared edge up. The window above gives up the space"},
        {"Resize", "resizeRight", both + "L  /  " + both + "→",
         "Move the shared edge right. The window on the right gives up the space"},
        {"Windows", "zoom", P + "F",
         "Fill the desktop with the focused window. Press again to put it back"},
        {"Windows", "rebalance", P + "G",
         "Lay this desktop out again as an even grid. Any window Kelvo had given up on is tried "
         "again"},
        {"Windows", "split", P + "E",
         "Flip the focused window and its neighbour between side by side and stacked"},
        {"Windows", "rotate", P + "⇧E",
         "Flip every split on this desktop at once, so columns become rows"},
        {"Windows", "float", P + "V",
         "Take the focused window out of the tiling and leave it where it is. Press again to "
         "tile it"},
        {"Windows", "newTerminal", P + "↩", "Open a new terminal window"},
        {"Main window", "promoteToMaster", P + "M",
         "Make the focused window the main one, in the big pane. Whatever was there goes to the "
         "top of the stack beside it"},
        {"Main window", "layoutMode", P + "⇧M",
         "Switch this desktop between one main window with the rest stacked beside it, and "
         "splitting whichever window you are in"},
        {"Help", "cheatsheet", P + "/",
         "Put every shortcut on screen at once. Press it again, or Escape, to put it away"},
    };
    if (launcher) {
        rows.push_back({"Applications", "launcher", P + "Space",
                        "Find an application by name. Enter goes to its window or launches it; "
                        "⇧Enter brings the window to this desktop instead"});
    }
    return rows;
}

std::vector<Row> actualRows(const Config& config) {
    std::vector<Row> rows;
    for (const auto& section : KeyReference::sections(config)) {
        for (const auto& entry : section.entries)
            rows.push_back({section.title, entry.id, entry.keys(), entry.what});
    }
    return rows;
}

void expectRows(const std::vector<Row>& actual, const std::vector<Row>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].section, expected[i].section) << expected[i].id;
        EXPECT_EQ(actual[i].id, expected[i].id);
        EXPECT_EQ(actual[i].keys, expected[i].keys) << expected[i].id;
        EXPECT_EQ(actual[i].what, expected[i].what) << expected[i].id;
    }
}

TEST(KeyReference, TextsForBothModifiersWithAndWithoutTheLauncher) {
    for (bool launcher : {true, false}) {
        Config option;
        option.showLauncher = launcher;
        expectRows(actualRows(option), expectedRows("⌥", "⌃⌥", launcher));
        Config control = option;
        control.primaryModifier = Modifier::control;
        expectRows(actualRows(control), expectedRows("⌃", "⌥⌃", launcher));
    }
}

TEST(KeyReference, SectionShapesOfTheDefaults) {
    const auto sections = KeyReference::sections(Config::defaults());
    std::vector<std::size_t> sizes;
    for (const auto& s : sections)
        sizes.push_back(s.entries.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 4, 4, 4, 6, 2, 1, 1}));

    Config noLauncher;
    noLauncher.showLauncher = false;
    EXPECT_EQ(KeyReference::sections(noLauncher).size(), 7u);

    const auto& desktop = sections[0].entries[0];
    EXPECT_EQ(desktop.caps, (Caps{{"⌥", "1 – 9"}}));
    EXPECT_EQ(desktop.shortcut, std::nullopt);
    EXPECT_EQ(desktop.sample, (Chord{.keyCode = 18, .option = true}));
    EXPECT_EQ(desktop.command, Command::switchTo(1));
    EXPECT_EQ(desktop.glyph, KeyReference::Glyph::desktopSwitch);
    EXPECT_EQ(sections[0].entries[1].sample, (Chord{.keyCode = 18, .option = true, .shift = true}));

    const auto& focusLeft = sections[1].entries[0];
    EXPECT_EQ(focusLeft.caps, (Caps{{"⌥", "H"}, {"⌥", "←"}}));
    EXPECT_EQ(focusLeft.sample, (Chord{.keyCode = KeyCode::h, .option = true}));
    EXPECT_EQ(focusLeft.shortcut, Shortcut::focusLeft);
    EXPECT_EQ(focusLeft.glyph, KeyReference::Glyph::focusLeft);
    EXPECT_EQ(sections[4].entries[4].glyph, KeyReference::Glyph::float_);
}

TEST(KeyReference, DesktopRange) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {-2, "1"}, {0, "1"}, {1, "1"}, {2, "1 – 2"}, {9, "1 – 9"}, {10, "1 – 9"}, {12, "1 – 9"}};
    for (const auto& [count, range] : rows) {
        Config c;
        c.desktopCount = count;
        const auto sections = KeyReference::sections(c);
        const auto& row = sections[0].entries[0];
        EXPECT_EQ(row.what, std::string("Go to desktop ") + range) << count;
        EXPECT_EQ(row.caps, (Caps{{"⌥", range}})) << count;
    }
}

TEST(KeyReference, RowsFollowTheUsersChanges) {
    Config c;
    c.shortcuts.clear(Shortcut::zoom);
    c.shortcuts.set(Chord{.keyCode = KeyCode::h, .option = true, .command = false},
                    Shortcut::split);
    const auto sections = KeyReference::sections(c);
    const auto& zoom = sections[4].entries[0];
    EXPECT_EQ(zoom.id, "zoom");
    EXPECT_TRUE(zoom.caps.empty());
    EXPECT_EQ(zoom.sample, std::nullopt);
    EXPECT_EQ(zoom.keys(), "");
    // The override took option+H, so focus left keeps only its arrow.
    EXPECT_EQ(sections[1].entries[0].keys(), "⌥←");
    EXPECT_EQ(sections[4].entries[2].keys(), "⌥H");
}

TEST(KeyReference, CapsOrder) {
    const Chord all{
        .keyCode = KeyCode::h, .option = true, .control = true, .command = true, .shift = true};
    EXPECT_EQ(KeyReference::caps(all, Modifier::option),
              (std::vector<std::string>{"⌘", "⌃", "⌥", "⇧", "H"}));
    EXPECT_EQ(KeyReference::caps(all, Modifier::control),
              (std::vector<std::string>{"⌘", "⌥", "⌃", "⇧", "H"}));
    EXPECT_EQ(KeyReference::caps(Chord{.keyCode = 10}, Modifier::option),
              (std::vector<std::string>{"key 10"}));
    EXPECT_EQ(KeyReference::symbol(Modifier::option), "⌥");
    EXPECT_EQ(KeyReference::symbol(Modifier::control), "⌃");
    EXPECT_EQ(KeyReference::secondary(Modifier::control), Modifier::option);
}

TEST(KeyReference, Glyphs) {
    EXPECT_EQ(KeyReference::glyph(Command::closeWindow()), std::nullopt);
    const std::pair<Command, KeyReference::Glyph> rows[] = {
        {Command::switchTo(7), KeyReference::Glyph::desktopSwitch},
        {Command::throwTo(2), KeyReference::Glyph::desktopThrow},
        {Command::focus(Direction::right), KeyReference::Glyph::focusRight},
        {Command::focus(Direction::down), KeyReference::Glyph::focusDown},
        {Command::moveWindow(Direction::up), KeyReference::Glyph::moveUp},
        {Command::resize(Direction::left), KeyReference::Glyph::resizeLeft},
        {Command::resize(Direction::right), KeyReference::Glyph::resizeRight},
        {Command::newTerminal(), KeyReference::Glyph::terminal},
        {Command::promoteToMaster(), KeyReference::Glyph::master},
        {Command::toggleLayoutMode(), KeyReference::Glyph::layoutMode},
    };
    for (const auto& [command, glyph] : rows)
        EXPECT_EQ(KeyReference::glyph(command), glyph) << command.description();
    for (Command::Kind kind : Command::allKinds) {
        if (auto plain = Command::plain(kind); plain && kind != Command::Kind::closeWindow) {
            EXPECT_NE(KeyReference::glyph(*plain), std::nullopt) << plain->description();
        }
    }
    ASSERT_EQ(KeyReference::allGlyphs().size(), 25u);
    for (auto g : KeyReference::allGlyphs())
        EXPECT_EQ(KeyReference::glyphFromRawValue(KeyReference::rawValue(g)), g);
    EXPECT_EQ(KeyReference::rawValue(KeyReference::Glyph::float_), "float");
    EXPECT_EQ(KeyReference::glyphFromRawValue("Float"), std::nullopt);
}

}  // namespace
}  // namespace kelvo
