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
#include "Support/KelvoApp/SettingsPageFixture.h"
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
    const LayoutNode* shown(const std::string& text) const {
        return LaidOutPage::words(graph->tree(), text);
    }
    const LayoutNode* startingWith(const std::string& start) const {
        return graph->tree().find([&](const LayoutNode& n) { return n.text.starts_with(start); });
    }
};

TEST_F(ShortcutsPageTest, TheListHasEachSectionsHeadingRowsAndTailWithSeparatorsBetween) {
    const std::vector<ShortcutItem> items = ShortcutsPage::shortcutItems(model.config());
    const std::vector<KeyReference::Section> sections = KeyReference::sections(model.config());
    ASSERT_GE(sections.size(), 2u);
    // No separator before the first heading; a tail closes every section.
    EXPECT_EQ(items.front(), ShortcutItem::heading(sections.front().title));
    EXPECT_EQ(items.back(), ShortcutItem::tail(sections.back().title));
    const auto second =
        std::find(items.begin(), items.end(), ShortcutItem::heading(sections[1].title));
    ASSERT_NE(second, items.end());
    EXPECT_EQ((second - 1)->kind, Kind::separator);
    EXPECT_EQ((second - 2)->kind, Kind::tail);

    showPage();
    // Cards in order, every heading upper-cased over the row of each of its shortcuts.
    const LayoutNode* modifierCard = graph->tree().findText("MODIFIER");
    const LayoutNode* shortcutsCard = graph->tree().findText("SHORTCUTS");
    ASSERT_TRUE(modifierCard && shortcutsCard);
    EXPECT_LT(modifierCard->frame.minY(), shortcutsCard->frame.minY());
    for (const KeyReference::Section& section : sections) {
        EXPECT_TRUE(graph->tree().findText(UnicodeText::uppercased(section.title)));
        for (const KeyReference::Entry& entry : section.entries)
            EXPECT_TRUE(has("key." + entry.id)) << entry.id;
    }
    const LayoutNode* modifier = graph->tree().findRole("segmented");
    ASSERT_TRUE(modifier);
    EXPECT_EQ(modifier->element->value, "⌥ Option");
    EXPECT_THAT(LaidOutPage::texts(*modifier), ::testing::ElementsAre("⌥ Option", "⌃ Control"));
    // The other segment makes control the primary modifier at once.
    click(*modifier->findText("⌃ Control"));
    EXPECT_EQ(store.config().primaryModifier, Modifier::control);
    relayout();
    EXPECT_EQ(graph->tree().findRole("segmented")->element->value, "⌃ Control");
}

TEST_F(ShortcutsPageTest, KeyCapsShowEveryModifierAndOrBetweenChords) {
    const testing::LaidOutView chips(ChordChips{{{"⌘", "⌃", "⌥", "⇧", "E"}, {"⌥", "L"}}},
                                     {400, 40});
    EXPECT_THAT(LaidOutPage::texts(chips.tree()),
                ::testing::ElementsAre("⌘", "⌃", "⌥", "⇧", "E", "or", "⌥", "L"));
}

TEST_F(ShortcutsPageTest, UnbindAndResetChangeTheKeysAndFadeWhenThereIsNothingToDo) {
    const Shortcut split = Shortcut::split;
    showPage();
    EXPECT_TRUE(id("key.split").findText("⌥") && id("key.split").findText("E"));
    EXPECT_TRUE(button(split, "Unbind ").enabled);
    EXPECT_EQ(button(split, "Unbind ").opacity, 1);
    EXPECT_FALSE(button(split, "Put ").enabled);
    EXPECT_LT(button(split, "Put ").opacity, 0.5);
    EXPECT_EQ(button(split, "Put ").tooltip, "Put " + title(split) + " back to Kelvo's own keys");

    click(button(split, "Unbind "));
    relayout();
    EXPECT_EQ(model.config().shortcuts.override(split), ShortcutOverride::cleared());
    EXPECT_TRUE(id("key.split").findText("Not set"));
    EXPECT_FALSE(id("key.split").findText("E"));
    EXPECT_FALSE(button(split, "Unbind ").enabled);
    EXPECT_LT(button(split, "Unbind ").opacity, 0.5);
    EXPECT_TRUE(button(split, "Put ").enabled);
    EXPECT_EQ(button(split, "Put ").opacity, 1);

    click(button(split, "Put "));
    relayout();
    EXPECT_FALSE(model.config().shortcuts.override(split));
    EXPECT_TRUE(id("key.split").findText("E"));
}

TEST_F(ShortcutsPageTest, FixedEntriesShowPlainCapsAlignedWithTheEditableRows) {
    showPage();
    EXPECT_FALSE(id("key.desktopSwitch").findRole("button"));
    // What each does, in the column after the keys.
    const auto what = [this](const std::string& row) {
        return id(row).find([](const LayoutNode& n) {
            return n.kind == NodeKind::text && n.font == Font::system(12);
        });
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
    ASSERT_EQ(model.config().primaryModifier, Modifier::option);
    showPage();
    EXPECT_TRUE(
        shown("⌥E is the acute accent on UK, US-International and most European layouts, "
              "so while Kelvo holds it you cannot type é. Give it back with the × beside \"" +
              title(Shortcut::split) + "\" if you need the accent."));
    Config control = model.config();
    control.primaryModifier = Modifier::control;
    EXPECT_FALSE(ShortcutsPage::accentCaution(control));

    setOverrides([](ShortcutOverrides& overrides) { overrides.clear(Shortcut::split); });
    EXPECT_FALSE(startingWith("⌥E is the acute"));
}

TEST_F(ShortcutsPageTest, DisplacedShortcutsAreQuotedAndJoinedAndReset) {
    const auto resettable = [this] { return id("resetShortcuts").findRole("button")->enabled; };
    showPage();
    ASSERT_TRUE(id("resetShortcuts").findRole("button"));
    EXPECT_FALSE(resettable());
    EXPECT_FALSE(startingWith("Nothing is bound to "));

    // Three shortcuts take the default chords of three others.
    const ShortcutResolution defaults = ShortcutResolution::resolve(model.config());
    const auto take = [&](Shortcut taker, Shortcut loser) {
        setOverrides([&](ShortcutOverrides& overrides) {
            overrides.set(defaults.chords(loser).front(), taker);
        });
    };
    take(Shortcut::focusLeft, Shortcut::split);
    EXPECT_TRUE(shown("Nothing is bound to \"" + title(Shortcut::split) +
                      "\". Something else holds the keys they would use. Record new keys, or "
                      "reset every shortcut at the foot of this list."));
    take(Shortcut::focusDown, Shortcut::rotate);
    take(Shortcut::focusUp, Shortcut::zoom);
    const std::vector<Shortcut> displaced = ShortcutResolution::resolve(model.config()).displaced();
    ASSERT_EQ(displaced.size(), 3u);
    EXPECT_EQ(ShortcutsPage::displacedShortcuts(model.config()),
              "\"" + title(displaced[0]) + "\", \"" + title(displaced[1]) + "\" and \"" +
                  title(displaced[2]) + "\"");
    EXPECT_TRUE(resettable());

    // Reset puts every shortcut back at once, without asking.
    click(*id("resetShortcuts").findRole("button"));
    relayout();
    EXPECT_TRUE(model.config().shortcuts.isEmpty());
    EXPECT_FALSE(startingWith("Nothing is bound to "));
    EXPECT_FALSE(resettable());
    EXPECT_TRUE(desktop->alerts().empty());
}

TEST_F(ShortcutsPageTest, TheRecordingNoticeShowsUnderTheDimIntroAboveTheList) {
    model.recordNotice = std::string("⌥L already belongs to Focus right.");
    showPage();
    const LayoutNode* intro = startingWith("Click a shortcut and");
    const LayoutNode* notice = shown("⌥L already belongs to Focus right.");
    ASSERT_TRUE(intro && notice);
    EXPECT_EQ(intro->color, Palette::dim());
    EXPECT_LT(intro->frame.maxY(), notice->frame.minY());
    EXPECT_LT(notice->frame.maxY(),
              id(ShortcutsPage::shortcutItems(model.config())[1].id()).frame.minY());
    // A warning, not a mere caution.
    EXPECT_TRUE(graph->tree().find(
        [](const LayoutNode& n) { return n.text == "exclamationmark.triangle.fill"; }));
}

}  // namespace
}  // namespace kelvo
