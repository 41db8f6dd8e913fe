// The Shortcuts page and its rows: the list's sections, the key caps of every chord, the
// unbind and reset buttons, the recording look, and the cautions about lost and shadowing keys.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/KeyCaps.h"
#include "KelvoApp/Views/Settings/ShortcutsPage.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Bindings/ShortcutResolution.h"
#include "Platform/SwiftUI/ControlSupport.h"
#include "Support/KelvoApp/SettingsViewFixture.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using namespace SwiftUI;
using Kind = ShortcutItem::Kind;

class ShortcutsPageTest : public SettingsViewFixture {
  protected:
    void showPage() {
        show([this] { return ShortcutsPage{model}.body(); });
    }
    /// A node of the row of `shortcut` whose tooltip starts with `prefix`.
    const LayoutNode& button(Shortcut shortcut, const std::string& prefix) {
        const LayoutNode& row = id(std::string("key.") + rawValue(shortcut));
        const LayoutNode* found = row.find(
            [&](const LayoutNode& n) { return n.tooltip.starts_with(prefix) && n.element; });
        if (!found) throw std::runtime_error("no " + prefix + "\n" + row.describe());
        return *found;
    }
    void setOverrides(const std::function<void(ShortcutOverrides&)>& change) {
        model.updateConfig([&](Config& config) { change(config.shortcuts); });
        relayout();
    }
    /// The text node showing `text`, whatever lines it was broken into.
    const LayoutNode* findShown(const std::string& text) const {
        return graph->tree().find([&](const LayoutNode& n) { return unbroken(n.text) == text; });
    }
    static std::string unbroken(std::string text) {
        std::erase(text, '\n');
        return text;
    }
};

TEST_F(ShortcutsPageTest, TheListHasEachSectionsHeadingRowsAndTailWithSeparatorsBetween) {
    const std::vector<ShortcutItem> items = ShortcutsPage::shortcutItems(model.config());
    const std::vector<KeyReference::Section> sections = KeyReference::sections(model.config());
    ASSERT_GE(sections.size(), 2u);
    // No separator before the first heading; a tail closes every section.
    EXPECT_EQ(items.front(), ShortcutItem::heading(sections.front().title));
    const auto kinds = [&](Kind kind) {
        return std::count_if(items.begin(), items.end(),
                             [&](const ShortcutItem& item) { return item.kind == kind; });
    };
    EXPECT_EQ(kinds(Kind::separator), static_cast<long>(sections.size()) - 1);
    EXPECT_EQ(kinds(Kind::tail), static_cast<long>(sections.size()));
    long entries = 0;
    for (const KeyReference::Section& section : sections)
        entries += static_cast<long>(section.entries.size());
    EXPECT_EQ(kinds(Kind::row), entries);
    const auto second =
        std::find(items.begin(), items.end(), ShortcutItem::heading(sections[1].title));
    ASSERT_NE(second, items.end());
    EXPECT_EQ((second - 1)->kind, Kind::separator);
    EXPECT_EQ((second - 2)->kind, Kind::tail);

    showPage();
    // Cards in order, the headings upper-cased, every row under its search id.
    const LayoutNode* modifierCard = graph->tree().findText("MODIFIER");
    const LayoutNode* shortcutsCard = graph->tree().findText("SHORTCUTS");
    ASSERT_TRUE(modifierCard && shortcutsCard);
    EXPECT_LT(modifierCard->frame.minY(), shortcutsCard->frame.minY());
    EXPECT_TRUE(graph->tree().findText(UnicodeText::uppercased(sections[1].title)));
    for (const ShortcutItem& item : items)
        if (item.kind == Kind::row) {
            EXPECT_TRUE(has(item.id())) << item.id();
        }
    const LayoutNode* modifier = graph->tree().findRole("segmented");
    ASSERT_TRUE(modifier);
    EXPECT_EQ(modifier->element->value, "⌥ Option");
    std::vector<std::string> segments;
    for (const LayoutNode* text :
         modifier->findAll([](const LayoutNode& n) { return n.kind == "Text"; }))
        segments.push_back(text->text);
    EXPECT_THAT(segments, ::testing::ElementsAre("⌥ Option", "⌃ Control"));
    // The other segment makes control the primary modifier at once.
    click(*modifier->findText("⌃ Control"));
    EXPECT_EQ(store.config().primaryModifier, Modifier::control);
    relayout();
    EXPECT_EQ(graph->tree().findRole("segmented")->element->value, "⌃ Control");
}

TEST_F(ShortcutsPageTest, KeyCapsShowEveryModifierAndOrBetweenChords) {
    const testing::LaidOutView chips(ChordChips{{{"⌘", "⌃", "⌥", "⇧", "E"}, {"⌥", "L"}}},
                                     {400, 40});
    std::vector<std::string> shown;
    for (const LayoutNode* text :
         chips.tree().findAll([](const LayoutNode& n) { return n.kind == "Text"; }))
        shown.push_back(text->text);
    EXPECT_THAT(shown, ::testing::ElementsAre("⌘", "⌃", "⌥", "⇧", "E", "or", "⌥", "L"));
    const LayoutNode* cap = chips.tree().findText("E");
    EXPECT_EQ(cap->font, Font::system(11, Font::Weight::medium, Font::Design::rounded));
    EXPECT_EQ(cap->color, Palette::title());
}

TEST_F(ShortcutsPageTest, UnbindAndResetChangeTheKeysAndFadeWhenThereIsNothingToDo) {
    // Faded to a quarter, and dimmed further as every disabled control is.
    const double faded = 0.25 * ControlColors::disabledOpacity;
    const Shortcut split = Shortcut::split;
    showPage();
    EXPECT_TRUE(id("key.split").findText("⌥") && id("key.split").findText("E"));
    EXPECT_TRUE(button(split, "Unbind ").enabled);
    EXPECT_EQ(button(split, "Unbind ").opacity, 1);
    EXPECT_FALSE(button(split, "Put ").enabled);
    EXPECT_DOUBLE_EQ(button(split, "Put ").opacity, faded);
    EXPECT_EQ(button(split, "Put ").tooltip, "Put " + title(split) + " back to Kelvo's own keys");

    click(button(split, "Unbind "));
    relayout();
    EXPECT_EQ(model.config().shortcuts.override(split), ShortcutOverride::cleared());
    EXPECT_TRUE(id("key.split").findText("Not set"));
    EXPECT_FALSE(id("key.split").findText("E"));
    EXPECT_FALSE(button(split, "Unbind ").enabled);
    EXPECT_DOUBLE_EQ(button(split, "Unbind ").opacity, faded);
    EXPECT_TRUE(button(split, "Put ").enabled);

    click(button(split, "Put "));
    relayout();
    EXPECT_FALSE(model.config().shortcuts.override(split));
    EXPECT_TRUE(id("key.split").findText("E"));
    EXPECT_FALSE(id("key.split").findText("Not set"));
}

TEST_F(ShortcutsPageTest, FixedEntriesShowPlainCapsAlignedWithTheEditableRows) {
    showPage();
    EXPECT_FALSE(id("key.desktopSwitch").findRole("button"));
    // What each does, in the column after the keys.
    const auto what = [this](const std::string& row) {
        return id(row).find(
            [](const LayoutNode& n) { return n.kind == "Text" && n.font == Font::system(12); });
    };
    ASSERT_TRUE(what("key.desktopSwitch") && what("key.split"));
    EXPECT_EQ(what("key.desktopSwitch")->frame.minX(), what("key.split")->frame.minX());
}

TEST_F(ShortcutsPageTest, AClickOnTheKeysRecordsAndOnlyThatRowShowsPressKeys) {
    model.setHotkeysSuspended = [](bool) {};
    model.updateConfig([](Config& config) { config.shortcuts.clear(Shortcut::rotate); });
    showPage();
    EXPECT_FALSE(graph->tree().findText("Press keys…"));
    click(*id("key.split").findRole("button"));
    relayout();
    EXPECT_EQ(model.recording.get(), Shortcut::split);
    EXPECT_TRUE(id("key.split").findText("Press keys…"));
    EXPECT_EQ(
        graph->tree().findAll([](const LayoutNode& n) { return n.text == "Press keys…"; }).size(),
        1u);
    EXPECT_TRUE(id("key.split").find([](const LayoutNode& n) {
        return n.color == Palette::accent().opacity(0.7);
    }));
    // A shortcut without keys asks for them too, instead of saying it has none.
    click(*id("key.rotate").findRole("button"));
    relayout();
    EXPECT_TRUE(id("key.rotate").findText("Press keys…"));
}

TEST_F(ShortcutsPageTest, TheAccentCautionNamesItsHolderAndGoesWhenUnbound) {
    const Config defaults = model.config();
    ASSERT_EQ(defaults.primaryModifier, Modifier::option);
    const std::optional<std::string> accent = ShortcutsPage::accentCaution(defaults);
    ASSERT_TRUE(accent);
    EXPECT_EQ(*accent,
              "⌥E is the acute accent on UK, US-International and most European layouts, so "
              "while Kelvo holds it you cannot type é. Give it back with the × beside \"" +
                  title(Shortcut::split) + "\" if you need the accent.");
    showPage();
    EXPECT_TRUE(findShown(*accent));

    setOverrides([](ShortcutOverrides& overrides) { overrides.clear(Shortcut::split); });
    EXPECT_FALSE(ShortcutsPage::accentCaution(model.config()));
    EXPECT_FALSE(graph->tree().find(
        [](const LayoutNode& n) { return n.text.starts_with("⌥E is the acute"); }));

    Config control = defaults;
    control.primaryModifier = Modifier::control;
    EXPECT_FALSE(ShortcutsPage::accentCaution(control));
}

TEST_F(ShortcutsPageTest, DisplacedShortcutsAreQuotedAndJoinedAndReset) {
    EXPECT_EQ(ShortcutsPage::displacedShortcuts(model.config()), "");
    showPage();
    EXPECT_FALSE(graph->tree().find(
        [](const LayoutNode& n) { return n.text.starts_with("Nothing is bound to "); }));
    const LayoutNode* reset = id("resetShortcuts").findRole("button");
    ASSERT_TRUE(reset);
    EXPECT_FALSE(reset->enabled);

    // Three shortcuts take the default chords of three others.
    const std::vector<Shortcut> takers{Shortcut::focusLeft, Shortcut::focusDown, Shortcut::focusUp};
    const std::vector<Shortcut> losers{Shortcut::split, Shortcut::rotate, Shortcut::zoom};
    const ShortcutResolution defaults = ShortcutResolution::resolve(model.config());
    setOverrides([&](ShortcutOverrides& overrides) {
        overrides.set(defaults.chords(losers[0]).front(), takers[0]);
    });
    const std::string one = ShortcutsPage::displacedShortcuts(model.config());
    EXPECT_EQ(one, "\"" + title(losers[0]) + "\"");
    const LayoutNode* caution = graph->tree().find(
        [](const LayoutNode& n) { return n.text.starts_with("Nothing is bound to "); });
    ASSERT_TRUE(caution);
    EXPECT_EQ(unbroken(caution->text),
              "Nothing is bound to " + one +
                  ". Something else holds the keys they would use. Record new "
                  "keys, or reset every shortcut at the foot of this list.");
    setOverrides([&](ShortcutOverrides& overrides) {
        overrides.set(defaults.chords(losers[1]).front(), takers[1]);
        overrides.set(defaults.chords(losers[2]).front(), takers[2]);
    });
    const std::vector<Shortcut> displaced = ShortcutResolution::resolve(model.config()).displaced();
    ASSERT_EQ(displaced.size(), 3u);
    EXPECT_EQ(ShortcutsPage::displacedShortcuts(model.config()),
              "\"" + title(displaced[0]) + "\", \"" + title(displaced[1]) + "\" and \"" +
                  title(displaced[2]) + "\"");
    EXPECT_TRUE(id("resetShortcuts").findRole("button")->enabled);

    // Reset puts every shortcut back at once, without asking.
    click(*id("resetShortcuts").findRole("button"));
    relayout();
    EXPECT_TRUE(model.config().shortcuts.isEmpty());
    EXPECT_EQ(ShortcutsPage::displacedShortcuts(model.config()), "");
    EXPECT_FALSE(graph->tree().find(
        [](const LayoutNode& n) { return n.text.starts_with("Nothing is bound to "); }));
    EXPECT_FALSE(id("resetShortcuts").findRole("button")->enabled);
    EXPECT_TRUE(desktop->alerts().empty());
}

TEST_F(ShortcutsPageTest, TheRecordingNoticeShowsUnderTheDimIntroAboveTheList) {
    model.recordNotice = std::string("⌥L already belongs to Focus right.");
    showPage();
    const LayoutNode* intro = graph->tree().find(
        [](const LayoutNode& n) { return unbroken(n.text).starts_with("Click a shortcut and"); });
    const LayoutNode* notice = findShown("⌥L already belongs to Focus right.");
    ASSERT_TRUE(intro && notice);
    EXPECT_EQ(intro->color, Palette::dim());
    EXPECT_EQ(intro->font, Font::system(11.5));
    EXPECT_LT(intro->frame.maxY(), notice->frame.minY());
    EXPECT_LT(notice->frame.maxY(),
              id(ShortcutsPage::shortcutItems(model.config())[1].id()).frame.minY());
    // The warning's symbol in its colour, beside the text.
    EXPECT_TRUE(graph->tree().find([&](const LayoutNode& n) {
        return n.kind == "Image" && n.text == "exclamationmark.triangle.fill" &&
               n.color == Palette::warning() && n.frame.minY() == notice->frame.minY();
    }));
}

}  // namespace
}  // namespace kelvo
