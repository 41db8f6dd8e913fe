// The cheat sheet's views laid out at the panel's size: the sections of the key reference in
// three columns, each row's description and key caps, the header and the footer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "KelvoApp/Views/CheatsheetRow.h"
#include "KelvoApp/Views/CheatsheetView.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/Text.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using SwiftUI::Font;
using SwiftUI::LayoutNode;
using SwiftUI::NodeKind;
using SwiftUI::View;
using testing::LaidOutView;

const CGSize panelSize{980, 620};

/// A text as written: wrapping puts line breaks where it cut the lines.
std::string unwrapped(std::string text) {
    std::erase(text, '\n');
    return text;
}

/// The texts under a node, depth first.
std::vector<std::string> textsIn(const LayoutNode& node) {
    std::vector<std::string> texts;
    for (const LayoutNode* text :
         node.findAll([](const LayoutNode& n) { return n.kind == NodeKind::text; }))
        texts.push_back(unwrapped(text->text));
    return texts;
}

const LayoutNode& textNode(const LaidOutView& laid, const std::string& text) {
    const LayoutNode* found = laid.tree().find(
        [&](const LayoutNode& n) { return n.kind == NodeKind::text && unwrapped(n.text) == text; });
    if (!found) throw std::runtime_error("no text " + text + "\n" + laid.tree().describe());
    return *found;
}

class CheatsheetViewTest : public ::testing::Test {
  protected:
    LaidOutView laidOut(const Config& config) {
        model.sections = KeyReference::sections(config);
        return LaidOutView(CheatsheetView(model), panelSize);
    }

    /// Every section, in order, holds its title upper-cased, then one row per entry with its
    /// description and its first chord's caps — and nothing else.
    void expectListsTheReference(const LaidOutView& laid, const Config& config) {
        const auto sections = KeyReference::sections(config);
        ASSERT_FALSE(sections.empty());
        const LayoutNode* grid = laid.tree().findKind(NodeKind::lazyVGrid);
        ASSERT_TRUE(grid);
        std::vector<std::string> expected;
        for (const KeyReference::Section& section : sections) {
            const LayoutNode& cell = laid.id(section.title);
            std::vector<std::string> inCell{upperCased(section.title)};
            for (const KeyReference::Entry& entry : section.entries) {
                std::vector<std::string> row{entry.what};
                if (!entry.caps.empty())
                    row.insert(row.end(), entry.caps.front().begin(), entry.caps.front().end());
                EXPECT_EQ(textsIn(laid.id(entry.id)), row) << entry.id;
                inCell.insert(inCell.end(), row.begin(), row.end());
            }
            EXPECT_EQ(textsIn(cell), inCell) << section.title;
            expected.insert(expected.end(), inCell.begin(), inCell.end());
        }
        EXPECT_EQ(textsIn(*grid), expected);
    }

    static std::string upperCased(const std::string& title) {
        std::string upper;
        for (char c : title)
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper;
    }

    CheatsheetModel model;
};

TEST_F(CheatsheetViewTest, TheDefaultConfigurationListsEverySectionAndRowOfTheReference) {
    const Config config;
    const LaidOutView laid = laidOut(config);
    expectListsTheReference(laid, config);
    EXPECT_TRUE(laid.tree().findIdentifier("Applications"));
}

TEST_F(CheatsheetViewTest, ARebindAndAnotherModifierShowTheirOwnCaps) {
    Config config;
    config.primaryModifier = Modifier::control;
    config.shortcuts.set(Chord{.keyCode = 4, .option = true, .shift = true}, Shortcut::focusLeft);
    config.showLauncher = false;
    const LaidOutView laid = laidOut(config);
    expectListsTheReference(laid, config);
    EXPECT_FALSE(laid.tree().findIdentifier("Applications"));
    const std::vector<std::string> focusLeft = textsIn(laid.id("focusLeft"));
    EXPECT_NE(std::find(focusLeft.begin(), focusLeft.end(), "⇧"), focusLeft.end());
    EXPECT_EQ(textsIn(laid.id("desktopSwitch"))[1], "⌃");
}

TEST_F(CheatsheetViewTest, SectionsFillThreeColumnsTwentyEightApart) {
    const LaidOutView laid = laidOut(Config{});
    const auto sections = KeyReference::sections(Config{});
    ASSERT_GE(sections.size(), 4u);
    // (980 − 2 × 26 − 2 × 28) / 3 for each column.
    const double column = (980.0 - 52 - 56) / 3;
    for (std::size_t i = 0; i < 4; ++i) {
        const LayoutNode& cell = laid.id(sections[i].title);
        EXPECT_NEAR(cell.frame.minX(), 26 + (i % 3) * (column + 28), 1e-6) << i;
        EXPECT_LE(cell.frame.width(), column + 1e-6) << i;
    }
    // The second row starts 22 below the first one's tallest cell (cells are centred in their
    // row, so its tallest cell starts it).
    double firstRowBottom = 0;
    for (std::size_t i = 0; i < 3; ++i)
        firstRowBottom = std::max(firstRowBottom, laid.id(sections[i].title).frame.maxY());
    double secondRowTop = laid.id(sections[3].title).frame.minY();
    for (std::size_t i = 4; i < std::min<std::size_t>(6, sections.size()); ++i)
        secondRowTop = std::min(secondRowTop, laid.id(sections[i].title).frame.minY());
    EXPECT_NEAR(secondRowTop, firstRowBottom + 22, 1e-6);
}

TEST_F(CheatsheetViewTest, SectionTitlesAreSmallTrackedAccentCapitals) {
    const LaidOutView laid = laidOut(Config{});
    const LayoutNode& title = textNode(laid, "DESKTOPS");
    EXPECT_EQ(title.font, Font::system(10, Font::Weight::semibold));
    EXPECT_EQ(title.color, Palette::accent());
    const LayoutNode& cell = laid.id("Desktops");
    EXPECT_DOUBLE_EQ(title.frame.minX(), cell.frame.minX());
    EXPECT_DOUBLE_EQ(title.frame.minY(), cell.frame.minY());
    EXPECT_NEAR(laid.id("desktopSwitch").frame.minY(), title.frame.maxY() + 10, 1e-6);
}

TEST_F(CheatsheetViewTest, TheHeaderNamesTheSheetAndSaysEveryKeyIsRebindable) {
    const LaidOutView laid = laidOut(Config{});
    const LayoutNode& title = textNode(laid, "Shortcuts");
    EXPECT_EQ(title.font, Font::system(15, Font::Weight::semibold));
    EXPECT_EQ(title.color, Palette::title());
    const LayoutNode& note =
        textNode(laid, "Every one of these is rebindable in Settings ▸ Shortcuts");
    EXPECT_EQ(note.font, Font::system(11));
    EXPECT_EQ(note.color, Palette::dim());
    EXPECT_NEAR(note.frame.maxX(), 980 - 26, 1e-6);
    const LayoutNode* mark = laid.tree().findKind(NodeKind::image);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->frame.size, (CGSize{22, 22}));
    EXPECT_DOUBLE_EQ(mark->frame.minX(), 26);
    EXPECT_NEAR(title.frame.minX(), 26 + 22 + 10, 1e-6);
}

TEST_F(CheatsheetViewTest, TheFooterShowsTheSheetsOwnKeysInABadgeAtTheRight) {
    const LaidOutView laid = laidOut(Config{});
    const LayoutNode& badge = textNode(laid, "⌥/");
    EXPECT_EQ(badge.font, Font::system(10, Font::Weight::medium, Font::Design::rounded));
    EXPECT_EQ(badge.color, Palette::label());
    const LayoutNode& again = textNode(laid, "again to close");
    EXPECT_EQ(again.font, Font::system(11));
    EXPECT_EQ(again.color, Palette::dim());
    EXPECT_NEAR(again.frame.maxX(), 980 - 26, 1e-6);
    // The badge's text is padded 6 across, then 6 apart from the words.
    EXPECT_NEAR(again.frame.minX(), badge.frame.maxX() + 6 + 6, 1e-6);
    // The badge, its text padded 2 down, stands 12 above the bottom; the words beside it are
    // centred on it.
    EXPECT_NEAR(badge.frame.maxY() + 2, 620 - 12, 1e-6);
    EXPECT_NEAR(again.frame.midY(), badge.frame.midY(), 1e-6);
}

TEST_F(CheatsheetViewTest, WithTheSheetsShortcutClearedTheFooterIsEmpty) {
    Config config;
    config.shortcuts.clear(Shortcut::cheatsheet);
    EXPECT_EQ(CheatsheetView::ownKeys(KeyReference::sections(config)), std::nullopt);
    const LaidOutView laid = laidOut(config);
    EXPECT_FALSE(laid.tree().findText("again to close"));
    EXPECT_FALSE(laid.tree().findText("⌥/"));
}

TEST_F(CheatsheetViewTest, OwnKeysAreTheFirstChordOfTheFirstCheatsheetEntry) {
    EXPECT_EQ(CheatsheetView::ownKeys(KeyReference::sections(Config{})), "⌥/");
    EXPECT_EQ(CheatsheetView::ownKeys({}), std::nullopt);
    const Command command = Command::cheatsheet();
    std::vector<KeyReference::Section> sections{
        {"A", {KeyReference::Entry("other", Shortcut::rotate, {{"x"}}, "Rotate", {}, command)}},
        {"B",
         {KeyReference::Entry("first", Shortcut::cheatsheet, {{"⌃", "K"}, {"⌥", "Z"}}, "Sheet", {},
                              command),
          KeyReference::Entry("second", Shortcut::cheatsheet, {{"Q"}}, "Sheet", {}, command)}}};
    EXPECT_EQ(CheatsheetView::ownKeys(sections), "⌃K");
}

TEST(CheatsheetRow, ADescriptionTakesTheWidthAndTheCapsOfTheFirstChordFollow) {
    const KeyReference::Entry entry("focusLeft", Shortcut::focusLeft, {{"⌥", "H"}, {"⌥", "←"}},
                                    "Focus the window to the left", {}, Command::cheatsheet());
    const LaidOutView laid(View(CheatsheetRow{entry}).id("row"), {300, 100});
    EXPECT_EQ(textsIn(laid.tree()),
              (std::vector<std::string>{"Focus the window to the left", "⌥", "H"}));
    const LayoutNode& what = textNode(laid, "Focus the window to the left");
    EXPECT_EQ(what.font, Font::system(12));
    EXPECT_EQ(what.color, Palette::label());
    EXPECT_DOUBLE_EQ(what.frame.minX(), 0);
    const LayoutNode& option = textNode(laid, "⌥");
    const LayoutNode& key = textNode(laid, "H");
    EXPECT_EQ(key.font, Font::system(11, Font::Weight::medium, Font::Design::rounded));
    EXPECT_EQ(key.color, Palette::title());
    // Each cap is its text at least 16 wide, padded 5 each side; caps 3 apart, the last at the
    // end and 10 after the description's room.
    const auto capWidth = [](const LayoutNode& text) {
        return std::max(16.0, text.frame.width()) + 2 * 5;
    };
    EXPECT_NEAR(key.frame.midX(), 300 - capWidth(key) / 2, 1e-6);
    const double keyCapLeft = 300 - capWidth(key);
    EXPECT_NEAR(option.frame.midX(), keyCapLeft - 3 - capWidth(option) / 2, 1e-6);
    EXPECT_LE(what.frame.maxX(), keyCapLeft - 3 - capWidth(option) - 10 + 1e-6);
}

TEST(CheatsheetRow, AnEntryWithoutCapsShowsOnlyItsDescriptionWrapped) {
    const std::string what =
        "Show every shortcut of the current configuration in one sheet above everything";
    const KeyReference::Entry entry("cheatsheet", Shortcut::cheatsheet, {}, what, {},
                                    Command::cheatsheet());
    const LaidOutView laid(View(CheatsheetRow{entry}), {120, 400});
    EXPECT_EQ(textsIn(laid.tree()), std::vector<std::string>{what});
    const LayoutNode& text = textNode(laid, what);
    EXPECT_LE(text.frame.width(), 120);
    EXPECT_GT(text.frame.height(), 3 * 12);
}

}  // namespace
}  // namespace kelvo
