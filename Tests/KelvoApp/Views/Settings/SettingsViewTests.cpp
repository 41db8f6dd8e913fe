// The settings window's content as a whole: the chrome around the page (title strip, sidebar,
// search drop-down), the notices above every page, the height report, ⌘K, the tab shortcuts
// and the scroll to a found setting.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGRecordingContext.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingsChrome.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

/// sRGB, 0 to 1 a channel, as a pixel.
CGPixel opaque(double red, double green, double blue, double alpha = 1) {
    const auto channel = [](double value) { return static_cast<int>(std::lround(value * 255)); };
    return {channel(red), channel(green), channel(blue), channel(alpha)};
}
const CGPixel background = opaque(0.043, 0.055, 0.086);
const CGPixel chrome = opaque(0.067, 0.081, 0.118);
const CGPixel card = opaque(0.086, 0.102, 0.145);
const CGPixel white = opaque(1, 1, 1);
/// The brand's accent, #22D3EE.
const CGPixel accent{34, 211, 238, 255};
/// `above` at `opacity` on the opaque `under`.
CGPixel over(const CGPixel& under, const CGPixel& above, double opacity) {
    const auto mix = [&](int below, int top) {
        return static_cast<int>(std::lround(below * (1 - opacity) + top * opacity));
    };
    return {mix(under.red, above.red), mix(under.green, above.green), mix(under.blue, above.blue),
            255};
}

MATCHER_P(LooksLike, expected, "") {
    *result_listener << "rgba " << arg.red << " " << arg.green << " " << arg.blue << " "
                     << arg.alpha;
    return std::abs(arg.red - expected.red) <= 2 && std::abs(arg.green - expected.green) <= 2 &&
           std::abs(arg.blue - expected.blue) <= 2 && std::abs(arg.alpha - expected.alpha) <= 2;
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
    /// The colour of the outline drawn around `frame`, 0 to 255 a channel, opacity too.
    std::optional<CGPixel> outlineAround(const CGRect& frame) const {
        CGRecordingContext context(graph->size());
        graph->draw(context);
        for (const CGDrawOperation& op : context.operations(CGDrawOperationKind::strokePath)) {
            const CGRect box = op.path.applying(op.ctm).boundingBox();
            const CGFloat top = graph->size().height - box.maxY();
            if (std::abs(box.minX() - frame.minX()) > 1 || std::abs(top - frame.minY()) > 1 ||
                std::abs(box.width() - frame.width()) > 1)
                continue;
            const CGColorValue& c = op.color;
            return opaque(c.red, c.green, c.blue, c.alpha);
        }
        return std::nullopt;
    }
    /// A point of a found row right of its texts and of `x`, on nothing but the row's ground.
    static CGPoint blankOf(const LayoutNode& row, CGFloat x) {
        for (const LayoutNode* text :
             row.findAll([](const LayoutNode& n) { return n.kind == "Text"; }))
            x = std::max(x, text->frame.maxX() + 12);
        return {x, row.frame.midY()};
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
    // A click anywhere on a tab's button, also right of its title, selects it.
    const LayoutNode& tiling = id("tab.tiling");
    graph->click({tiling.frame.maxX() - 4, tiling.frame.midY()});
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
    // Nor does a taller page while nothing is owed: the window keeps the size it was given.
    model.loadFailed = true;
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

    search("zzqqxx");
    EXPECT_TRUE(findShown("No setting matches “zzqqxx”."));
    EXPECT_TRUE(id("search.dropdown")
                    .findAll([](const LayoutNode& n) { return n.identifier.starts_with("found."); })
                    .empty());
    EXPECT_FALSE(graph->tree().findText("⌘K"));
}

TEST_F(SettingsViewTest, TheStripSidebarPageAndCardsAreDrawnInTheirColoursAndOnlyTheTabShownIsLit) {
    showWindow();
    ASSERT_EQ(model.section(), SettingsTab::general);
    EXPECT_THAT(seen({100, 15}), LooksLike(chrome));
    EXPECT_THAT(seen({5, 760}), LooksLike(chrome));
    EXPECT_THAT(seen({196, 760}), LooksLike(over(background, white, 0.08)));
    EXPECT_THAT(seen({205, 760}), LooksLike(background));
    // The page's column, 24 in from the rule beside the 196-wide sidebar and from the right.
    const LayoutNode& row = id("desktopCount");
    EXPECT_EQ(row.frame.minX(), 196 + 1 + 24);
    EXPECT_EQ(row.frame.maxX(), 696 - 24);
    EXPECT_THAT(seen({row.frame.minX() + 4, row.frame.midY()}), LooksLike(card));
    const auto besideTitle = [](const LayoutNode& tab) {
        return CGPoint{tab.frame.maxX() - 4, tab.frame.midY()};
    };
    EXPECT_THAT(seen(besideTitle(id("tab.general"))), LooksLike(over(chrome, accent, 0.14)));
    EXPECT_THAT(seen(besideTitle(id("tab.tiling"))), LooksLike(chrome));
    // The window's tint: a switch that is on is filled with the accent.
    const LayoutNode* on = id("switchHUD").findRole("switch");
    ASSERT_TRUE(on);
    EXPECT_THAT(seen({on->frame.minX() + on->frame.height() / 2, on->frame.midY()}),
                LooksLike(accent));
}

TEST_F(SettingsViewTest, TheSearchFieldIsOutlinedInTheAccentOnlyWhileItHoldsText) {
    showWindow();
    EXPECT_THAT(outlineAround(id("search.field").frame),
                ::testing::Optional(LooksLike(opaque(1, 1, 1, 0.06))));
    search("gap");
    EXPECT_THAT(outlineAround(id("search.field").frame),
                ::testing::Optional(LooksLike(CGPixel{34, 211, 238, 140})));
}

TEST_F(SettingsViewTest, TheDropDownHangsOverThePageWithOnlyTheSelectedRowLit) {
    showWindow();
    search("gap", 1);
    const std::vector<SettingEntry> rows = SearchBar{model}.rows();
    ASSERT_GE(rows.size(), 2u);
    // Points of the two rows over the page's first card.
    const CGFloat overCard = id("desktopCount").frame.minX() + 12;
    const CGPoint first = blankOf(id("found." + rows[0].id), overCard);
    const CGPoint second = blankOf(id("found." + rows[1].id), overCard);
    ASSERT_LT(std::max(first.x, second.x), id("search.dropdown").frame.maxX() - 12);
    EXPECT_THAT(seen(first), LooksLike(card));
    EXPECT_THAT(seen(second), LooksLike(over(card, accent, 0.2)));
}

TEST_F(SettingsViewTest, AClickOnAFoundRowOverTheTabsOpensItsSetting) {
    showWindow();
    search("inner gap");
    const std::vector<SettingEntry> rows = SearchBar{model}.rows();
    ASSERT_FALSE(rows.empty());
    const CGPoint point{40, id("found." + rows.back().id).frame.midY()};
    // Left of the page, where the drop-down covers the tab buttons.
    const auto covered = std::find_if(
        settings_tab::allCases.begin(), settings_tab::allCases.end(),
        [&](SettingsTab tab) { return id("tab." + rawValue(tab)).frame.contains(point); });
    ASSERT_NE(covered, settings_tab::allCases.end());
    graph->click(point);
    settle();
    EXPECT_EQ(model.section(), rows.back().tab);
    EXPECT_EQ(model.search.get().query(), "");
    ASSERT_TRUE(model.reveal.get());
    EXPECT_EQ(model.reveal.get()->id, rows.back().id);
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
