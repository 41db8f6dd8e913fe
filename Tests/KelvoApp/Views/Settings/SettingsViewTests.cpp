// The settings window's content as a whole: the chrome around the page (title strip, sidebar,
// search drop-down), the notices above every page, the height report, ⌘K, the tab shortcuts
// and the scroll to a found setting.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingsChrome.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class SettingsViewTest : public SettingsViewFixture {
  protected:
    void showWindow() {
        show([this] { return SettingsView(model).body(); });
    }
    /// Types `query` into the model's search as the field would.
    void search(const std::string& query, int moves = 0) {
        SettingsSearch next(SettingsCatalog::entries(model.config()));
        next.type(query);
        next.move(moves);
        model.search = next;
        relayout();
    }
    const LayoutNode* findShown(const std::string& start) const {
        return graph->tree().find([&](const LayoutNode& n) {
            std::string text = n.text;
            std::erase(text, '\n');
            return n.kind == "Text" && text.starts_with(start);
        });
    }
};

TEST_F(SettingsViewTest, TheChromeHasTheStripTheSidebarAndOneButtonPerTab) {
    model.setSection(SettingsTab::system);
    showWindow();
    const LayoutNode& general = id("tab.general");
    EXPECT_EQ(general.frame.minX(), 10);
    EXPECT_EQ(general.frame.width(), 176);
    CGFloat above = 0;
    for (SettingsTab tab : settings_tab::allCases) {
        const LayoutNode& button = id("tab." + rawValue(tab));
        EXPECT_GT(button.frame.minY(), above);
        above = button.frame.minY();
        EXPECT_TRUE(button.findText(title(tab)));
        const LayoutNode* label = button.findText(title(tab));
        EXPECT_EQ(label->color, tab == SettingsTab::system ? Palette::accent() : Palette::dim());
    }
    // The strip is 30 high with its hairline under it; the working area starts at 31.
    EXPECT_TRUE(graph->tree().find([](const LayoutNode& n) {
        return n.color == Palette::hairline() && n.frame.minY() == 30 && n.frame.height() == 1;
    }));
    EXPECT_GE(id("search.field").frame.minY(), 31 + 14);
    EXPECT_EQ(id("search.field").frame.height(), 32);
    EXPECT_TRUE(graph->tree().findText("⌘K"));
    // A click on a tab's button selects it.
    click(id("tab.tiling"));
    EXPECT_EQ(model.section(), SettingsTab::tiling);
}

TEST_F(SettingsViewTest, CommandDigitsSelectTheTabsInOrderAndCommandKIsHidden) {
    showWindow();
    int digit = 1;
    for (SettingsTab tab : settings_tab::allCases) {
        EXPECT_TRUE(graph->press(KeyboardShortcut::commandKey(std::to_string(digit++))));
        EXPECT_EQ(model.section(), tab);
        relayout();
    }
    const LayoutNode* clip = graph->tree().find([](const LayoutNode& n) {
        return n.clipsChildren && n.find([](const LayoutNode& inner) {
            return inner.shortcut == KeyboardShortcut::commandKey("k");
        });
    });
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frame.size, (CGSize{1, 1}));
    const LayoutNode* key = clip->find(
        [](const LayoutNode& n) { return n.shortcut == KeyboardShortcut::commandKey("k"); });
    EXPECT_LE(key->opacity, 0.001);
    EXPECT_EQ(hitTest(graph->tree(), {key->frame.midX(), key->frame.midY()}) == key, false);
    EXPECT_TRUE(graph->press(KeyboardShortcut::commandKey("k")));
}

TEST_F(SettingsViewTest, BothFileNoticesShowAboveThePageLoadFirst) {
    model.loadFailed = true;
    model.writeError = std::string("disk full");
    model.setSection(SettingsTab::shortcuts);
    showWindow();
    const LayoutNode* load = findShown(model.configPath + " could not be read");
    const LayoutNode* save = findShown("Could not save to " + model.configPath + ": disk full");
    const LayoutNode* page = graph->tree().findText("MODIFIER");
    ASSERT_TRUE(load && save && page);
    EXPECT_LT(load->frame.maxY(), save->frame.minY());
    EXPECT_LT(save->frame.maxY(), page->frame.minY());
    model.loadFailed = false;
    model.writeError = std::nullopt;
    relayout();
    EXPECT_FALSE(findShown("Could not save to "));
}

TEST_F(SettingsViewTest, TheContentHeightIsReportedOnlyWhileOwed) {
    std::vector<CGFloat> reported;
    model.onIdealHeight = [&](CGFloat height) { reported.push_back(height); };
    model.setSection(SettingsTab::system);
    showWindow();
    settle();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_GT(reported[0], 0);
    EXPECT_FALSE(model.sizingOwed);
    // A layout while nothing is owed reports nothing.
    relayout();
    settle();
    EXPECT_EQ(reported.size(), 1u);
    // Another tab owes its height once more.
    model.setSection(SettingsTab::shortcuts);
    relayout();
    settle();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_FALSE(model.sizingOwed);
    relayout();
    settle();
    EXPECT_EQ(reported.size(), 2u);
}

TEST_F(SettingsViewTest, AFoundSettingIsScrolledToTheMiddleOnTheNextTurn) {
    model.setSection(SettingsTab::shortcuts);
    showWindow();
    const CGRect before = id("key.split").frame;
    model.reveal = SettingsModel::Reveal{"key.split", 1};
    clock.advance(0.5);
    relayout();
    const CGRect page = id("settings.page").frame;
    const CGRect after = id("key.split").frame;
    EXPECT_LT(after.minY(), before.minY());
    EXPECT_NEAR(after.midY(), page.midY(), 1);
}

TEST_F(SettingsViewTest, TheDropDownShowsEightFoundSettingsOrOneNoMatchLine) {
    showWindow();
    EXPECT_FALSE(has("search.dropdown"));
    search("e", 9);
    ASSERT_GT(model.search.get().matches().size(), 9u);
    const LayoutNode& dropdown = id("search.dropdown");
    EXPECT_EQ(dropdown.frame.width(), 380);
    EXPECT_EQ(dropdown.frame.minY(), id("search.field").frame.minY() + 44);
    const std::vector<SettingEntry> rows = SearchBar{model}.rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows.back(), model.search.get().matches()[7]);
    // The dropdown reaches over the page and draws above it.
    EXPECT_GT(dropdown.frame.maxX(), 197);

    search("zzqqxx");
    EXPECT_TRUE(findShown("No setting matches “zzqqxx”."));
    EXPECT_TRUE(id("search.dropdown")
                    .findAll([](const LayoutNode& n) { return n.identifier.starts_with("found."); })
                    .empty());
    EXPECT_FALSE(graph->tree().findText("⌘K"));
    EXPECT_TRUE(graph->tree().find(
        [](const LayoutNode& n) { return n.color == Palette::accent().opacity(0.55); }));
}

}  // namespace
}  // namespace kelvo
