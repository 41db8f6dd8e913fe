// The settings window's content as a whole: the chrome around the page (title strip, sidebar,
// search drop-down), the notices above every page, the height report, ⌘K, the tab shortcuts
// and the scroll to a found setting.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

// The window's colours as pixels: background (0.043, 0.055, 0.086), chrome (0.067, 0.081, 0.118),
// card (0.086, 0.102, 0.145) and the brand's accent #22D3EE.
const CGPixel background{11, 14, 22, 255}, chrome{17, 21, 30, 255}, card{22, 26, 37, 255},
    white{255, 255, 255, 255}, accent{34, 211, 238, 255};
/// `above` at `opacity` on the opaque `under`.
CGPixel over(CGPixel under, CGPixel above, double opacity) {
    const auto mix = [&](int a, int b) -> int { return std::lround(a + (b - a) * opacity); };
    return {mix(under.red, above.red), mix(under.green, above.green), mix(under.blue, above.blue),
            255};
}
MATCHER_P(LooksLike, expected, "") {
    *result_listener << arg.red << ' ' << arg.green << ' ' << arg.blue << ' ' << arg.alpha;
    const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
    return near(arg.red, expected.red) && near(arg.green, expected.green) &&
           near(arg.blue, expected.blue) && near(arg.alpha, expected.alpha);
}

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
    /// The pixel a person sees at a point of the window as last laid out.
    CGPixel seen(CGPoint point) const {
        const std::unique_ptr<CGBitmapContext> bitmap = CGBitmapContext::make(graph->size(), 1);
        graph->draw(*bitmap);
        return *bitmap->makeImage()->pixel(static_cast<int>(point.x), static_cast<int>(point.y));
    }
    /// A point of a row or tab right of its texts and of `x`, on nothing but its ground.
    static CGPoint blankOf(const LayoutNode& row, CGFloat x) {
        for (const LayoutNode* text :
             row.findAll([](const LayoutNode& n) { return n.kind == NodeKind::text; }))
            x = std::max(x, text->frame.maxX() + 12);
        return {x, row.frame.midY()};
    }
    /// The found settings' rows in the drop-down, in order.
    std::vector<const LayoutNode*> found() const {
        return id("search.dropdown").findAll([](const LayoutNode& n) {
            return n.identifier.starts_with("found.");
        });
    }
    const LayoutNode* findShown(const std::string& start) const {
        return graph->tree().find([&](const LayoutNode& n) {
            std::string text = n.text;
            std::erase(text, '\n');
            return n.kind == NodeKind::text && text.starts_with(start);
        });
    }
};

TEST_F(SettingsViewTest, TheChromeHasTheStripTheSidebarAndOneButtonPerTab) {
    model.setSection(SettingsTab::system);
    showWindow();
    // The search first, then the tabs in order down the sidebar.
    CGFloat above = id("search.field").frame.maxY();
    for (SettingsTab tab : settings_tab::allCases) {
        const LayoutNode& button = id("tab." + rawValue(tab));
        EXPECT_GT(button.frame.minY(), above);
        above = button.frame.minY();
        const LayoutNode* label = button.findText(title(tab));
        ASSERT_TRUE(label) << rawValue(tab);
        EXPECT_EQ(label->color, tab == SettingsTab::system ? Palette::accent() : Palette::dim());
    }
    EXPECT_TRUE(graph->tree().findText("⌘K"));
    // A click anywhere on a tab's button, also right of its title, selects it.
    graph->click(blankOf(id("tab.tiling"), 0));
    settle();
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
    const LayoutNode* key = graph->tree().find(
        [](const LayoutNode& n) { return n.shortcut == KeyboardShortcut::commandKey("k"); });
    ASSERT_TRUE(key);
    EXPECT_LE(key->opacity, 0.001);
    EXPECT_NE(hitTest(graph->tree(), {key->frame.midX(), key->frame.midY()}), key);
    EXPECT_FALSE(model.searchOpen.get());
    EXPECT_TRUE(graph->press(KeyboardShortcut::commandKey("k")));
    EXPECT_TRUE(model.searchOpen.get());
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
    // Nor does a taller page while nothing is owed: the window keeps the size it was given.
    model.loadFailed = true;
    relayout();
    settle();
    EXPECT_EQ(reported.size(), 1u);
    // Another tab owes its height once more.
    model.setSection(SettingsTab::shortcuts);
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
    EXPECT_GE(id("search.dropdown").frame.minY(), id("search.field").frame.maxY());
    ASSERT_EQ(found().size(), 8u);
    EXPECT_EQ(found().back()->identifier, "found." + model.search.get().matches()[7].id);

    search("zzqqxx");
    EXPECT_TRUE(findShown("No setting matches “zzqqxx”."));
    EXPECT_TRUE(found().empty());
    EXPECT_FALSE(graph->tree().findText("⌘K"));
}

// Of more than eight matches the first and the eighth are shown and lit when selected; the
// ninth, one past the last row shown, lights none.
TEST_F(SettingsViewTest, TheFirstAndEighthFoundRowsLightAndTheNinthLightsNone) {
    showWindow();
    const auto lit = [this]() -> std::optional<std::size_t> {
        const auto rows = found();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string title = model.search.get().matches()[i].title;
            const LayoutNode* text = rows[i]->findText(title);
            if (text && text->color == SwiftUI::Color::white().opacity(1.0)) return i;
        }
        return std::nullopt;
    };
    for (const auto& [moves, row] :
         {std::pair<int, std::optional<std::size_t>>{0, 0}, {7, 7}, {8, std::nullopt}}) {
        search("e", moves);
        ASSERT_GT(model.search.get().matches().size(), 9u);
        ASSERT_EQ(found().size(), 8u);
        EXPECT_EQ(lit(), row) << moves;
    }
}

TEST_F(SettingsViewTest, TheStripSidebarPageAndCardsAreDrawnInTheirColoursAndOnlyTheTabShownIsLit) {
    showWindow();
    ASSERT_EQ(model.section(), SettingsTab::general);
    EXPECT_THAT(seen({100, 15}), LooksLike(chrome));
    EXPECT_THAT(seen({5, 760}), LooksLike(chrome));
    EXPECT_THAT(seen({196, 760}), LooksLike(over(background, white, 0.08)));
    EXPECT_THAT(seen({205, 760}), LooksLike(background));
    const LayoutNode& row = id("desktopCount");
    EXPECT_THAT(seen({row.frame.minX() + 4, row.frame.midY()}), LooksLike(card));
    EXPECT_THAT(seen(blankOf(id("tab.general"), 0)), LooksLike(over(chrome, accent, 0.14)));
    EXPECT_THAT(seen(blankOf(id("tab.tiling"), 0)), LooksLike(chrome));
    // The window's tint: a switch that is on is filled with the accent.
    const LayoutNode* on = id("switchHUD").findRole("switch");
    ASSERT_TRUE(on);
    EXPECT_THAT(seen({on->frame.minX() + on->frame.height() / 2, on->frame.midY()}),
                LooksLike(accent));
}

TEST_F(SettingsViewTest, TheSearchFieldIsOutlinedInTheAccentOnlyWhileItHoldsText) {
    // The accent at 0.55 round the field.
    const auto outlined = [this] {
        return id("search.field").find([](const LayoutNode& n) {
            return n.kind == NodeKind::roundedRectangle &&
                   n.color == Color(34 / 255.0, 211 / 255.0, 238 / 255.0, 0.55);
        });
    };
    showWindow();
    EXPECT_FALSE(outlined());
    search("gap");
    EXPECT_TRUE(outlined());
}

TEST_F(SettingsViewTest, TheDropDownHangsOverThePageAndTheTabsAndOpensTheRowClicked) {
    showWindow();
    search("gap", 1);
    ASSERT_GE(found().size(), 2u);
    // Over the page's first card only the selected row is lit.
    const CGFloat overCard = id("desktopCount").frame.minX() + 12;
    const CGPoint first = blankOf(*found()[0], overCard);
    const CGPoint second = blankOf(*found()[1], overCard);
    ASSERT_LT(std::max(first.x, second.x), id("search.dropdown").frame.maxX() - 12);
    EXPECT_THAT(seen(first), LooksLike(card));
    EXPECT_THAT(seen(second), LooksLike(over(card, accent, 0.2)));
    // Left of the page it covers the tab buttons: a click there opens the row, not a tab.
    const CGPoint point{40, second.y};
    ASSERT_TRUE(std::any_of(
        settings_tab::allCases.begin(), settings_tab::allCases.end(),
        [&](SettingsTab tab) { return id("tab." + rawValue(tab)).frame.contains(point); }));
    const SettingEntry clicked = model.search.get().matches()[1];
    graph->click(point);
    settle();
    EXPECT_EQ(model.section(), clicked.tab);
    EXPECT_EQ(model.search.get().query(), "");
    ASSERT_TRUE(model.reveal.get());
    EXPECT_EQ(model.reveal.get()->id, clicked.id);
}

TEST_F(SettingsViewTest, TheFlashedSettingIsLitOnItsPage) {
    model.setSection(SettingsTab::tiling);
    showWindow();
    model.flashing = std::string("innerGap");
    relayout();
    const auto lit = [this](const std::string& row) {
        return id(row).find([](const LayoutNode& n) {
            return n.color == Palette::accent().opacity(0.2) && n.opacity > 0;
        }) != nullptr;
    };
    EXPECT_TRUE(lit("innerGap"));
    EXPECT_FALSE(lit("outerGap"));
}

}  // namespace
}  // namespace kelvo
