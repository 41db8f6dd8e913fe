// The cards, rows and value controls the settings pages are made of, laid out and clicked:
// which texts a row shows, how its prose wraps beside its control, and that every control
// writes its binding once per change and never leaves its range.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/RuleList.h"
#include "KelvoApp/Views/Settings/SettingAnchor.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoApp/Views/Settings/ShortcutRow.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/KelvoApp/SettingsViewFixture.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;
using testing::LaidOutView;

/// A value the controls read and write, counting the writes.
template <class T>
struct Recorded {
    T value;
    int writes = 0;
    Binding<T> binding() {
        return Binding<T>([this] { return value; },
                          [this](const T& now) {
                              value = now;
                              ++writes;
                          });
    }
};

CGPoint centre(const LayoutNode& node) {
    return {node.frame.midX(), node.frame.midY()};
}

const LayoutNode& role(const LaidOutView& view, const std::string& name) {
    const LayoutNode* found = view.tree().findRole(name);
    if (!found) throw std::runtime_error("no " + name + "\n" + view.tree().describe());
    return *found;
}

bool cautionSymbol(const LayoutNode& node) {
    return node.kind == NodeKind::image && node.color == Palette::caution();
}

SettingEntry entryWith(std::optional<std::string> more, std::optional<std::string> caution) {
    SettingEntry entry = SettingsCatalog::entry(ID::innerGap);
    entry.more = std::move(more);
    entry.caution = std::move(caution);
    return entry;
}

TEST(Card, ShowsItsTitleUpperCasedOverItsRowsOnARoundedPlate) {
    const LaidOutView card(
        Card("Menu bar", {Text("one").frame(std::nullopt, 20).id("one"), Hairline(),
                          Text("two").frame(std::nullopt, 20).id("two")}),
        {500, 300});
    EXPECT_TRUE(card.tree().findText("MENU BAR"));
    // The hairline, as wide as the card's plate, is all that separates the rows.
    EXPECT_EQ(card.id("two").frame.minY(), card.id("one").frame.maxY() + 1);
    for (const Color& colour : {Palette::card(), Palette::hairline()})
        EXPECT_TRUE(card.tree().find(
            [&](const LayoutNode& n) { return n.color == colour && n.frame.width() == 500; }));
}

TEST(SettingRow, ShowsTheEntrysTextsUnlessTheRowGivesItsOwn) {
    const SettingEntry entry = entryWith(std::nullopt, std::nullopt);
    {
        const LaidOutView row(SettingRow{.entry = entry, .control = Text("ctl")}, {700, 200});
        EXPECT_TRUE(row.tree().findText(entry.title) && row.tree().findText(entry.detail));
        // No `more`: no tooltip; no caution: no line for it.
        EXPECT_FALSE(row.tree().find([](const LayoutNode& n) { return !n.tooltip.empty(); }));
        EXPECT_FALSE(row.tree().find(cautionSymbol));
        EXPECT_EQ(row.id(entry.id).element, (AccessibilityElement{"group", entry.title}));
    }
    {
        const LaidOutView row(
            SettingRow{.entry = entry, .detail = "own detail", .control = Text("ctl")}, {700, 200});
        EXPECT_TRUE(row.tree().findText("own detail"));
        EXPECT_FALSE(row.tree().findText(entry.detail));
    }
    {
        const LaidOutView row(SettingRow{.entry = entry,
                                         .detail = "own detail",
                                         .detailText = Text("styled ") + Text("prose").bold(),
                                         .control = Text("ctl")},
                              {700, 200});
        EXPECT_TRUE(row.tree().findText("styled prose"));
        EXPECT_FALSE(row.tree().findText("own detail"));
    }
    {
        const LaidOutView row(SettingRow{.entry = entryWith("More words.", "Entry caution."),
                                         .badge = "now",
                                         .caution = "Row caution.",
                                         .control = Text("ctl")},
                              {700, 200});
        EXPECT_TRUE(
            row.tree().find([](const LayoutNode& n) { return n.tooltip == "More words."; }));
        const LayoutNode* caution = row.tree().findText("Row caution.");
        ASSERT_TRUE(caution);
        EXPECT_EQ(caution->color, Palette::caution());
        EXPECT_FALSE(row.tree().findText("Entry caution."));
        const LayoutNode* badge = row.tree().findText("now");
        ASSERT_TRUE(badge);
        EXPECT_EQ(badge->color, Palette::dim());
    }
    {
        const LaidOutView row(
            SettingRow{.entry = entryWith(std::nullopt, "Entry caution."), .control = Text("ctl")},
            {700, 200});
        EXPECT_TRUE(row.tree().findText("Entry caution."));
        EXPECT_TRUE(row.tree().find(cautionSymbol));
    }
}

TEST(SettingRow, ProseWrapsAt400AndTheControlKeepsItsSizeTwelvePointsAway) {
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "word ";
    longText += "end";
    const SettingEntry entry = entryWith(std::nullopt, std::nullopt);
    const std::string label = "a control as wide as half the row";
    const View control = Text(label).lineLimit(1);
    // However narrow the window, the prose gives way and the control is never cut.
    for (CGFloat width : {1400.0, 420.0}) {
        SCOPED_TRACE(width);
        const LaidOutView row(SettingRow{.entry = entry, .detail = longText, .control = control},
                              {width, 400});
        const LayoutNode* ctl = row.tree().findText(label);
        ASSERT_TRUE(ctl);
        const LayoutNode* prose = row.tree().find([](const LayoutNode& n) {
            return n.kind == NodeKind::text && n.text.starts_with("word");
        });
        ASSERT_TRUE(prose);
        EXPECT_LE(prose->frame.width(), 400);
        EXPECT_GT(prose->frame.height(), 20);  // several lines
        EXPECT_GE(ctl->frame.minX() - prose->frame.maxX(), 12);
        EXPECT_EQ(ctl->frame.maxX(), width - 16);
        const LaidOutView alone(control, {1000, 100});
        EXPECT_EQ(ctl->frame.size, alone.tree().findText(label)->frame.size);
    }
}

using FoundSettingTest = SettingsViewFixture;

TEST_F(FoundSettingTest, OnlyTheFoundRowIsLitWhetherASettingARuleListOrAShortcut) {
    const KeyReference::Entry shortcut =
        KeyReference::sections(model.config()).front().entries.front();
    const std::vector<std::string> targets{"innerGap", "floatRules", "key." + shortcut.id};
    // As a person sees it: the accent plate behind the row, at full strength.
    const auto lit = [this](const std::string& target) {
        return id(target).find([](const LayoutNode& n) {
            return n.color == Palette::accent().opacity(0.2) && n.opacity > 0.99;
        }) != nullptr;
    };
    for (const std::string& found : targets) {
        show([&] {
            return flashedSetting(
                VStack(HorizontalAlignment::leading, 0,
                       {SettingRow{.entry = SettingsCatalog::entry(ID::innerGap),
                                   .control = Text("ctl")},
                        RuleList{SettingsCatalog::entry(ID::floatRules), {}, {}, {}, {}},
                        ShortcutItemView{ShortcutItem::row(shortcut), model}}),
                found);
        });
        for (const std::string& target : targets)
            EXPECT_EQ(lit(target), target == found) << target << " with " << found << " found";
    }
}

TEST(ValueControls, ACounterStepsByOneAndStopsAtItsBounds) {
    Recorded<long long> count{1};
    auto click = [&](bool up) {
        LaidOutView view(Counter{count.binding(), 1, 3}, {200, 40});
        const LayoutNode& stepper = role(view, "stepper");
        view.graph.click(
            {stepper.frame.midX(), up ? stepper.frame.minY() + 2 : stepper.frame.maxY() - 2});
    };
    click(false);
    EXPECT_EQ(count.value, 1);
    EXPECT_EQ(count.writes, 0);
    click(true);
    click(true);
    click(true);
    EXPECT_EQ(count.value, 3);
    EXPECT_EQ(count.writes, 2);
    EXPECT_TRUE(LaidOutView(Counter{count.binding(), 1, 3}, {200, 40}).tree().findText("3"));
}

TEST(ValueControls, ASliderMovesInItsStepsOrFreelyAndItsReadoutFollows) {
    Recorded<double> value{0};
    auto readout = [](double v) { return std::to_string(static_cast<int>(v * 100)) + "%"; };
    auto clickAt = [&](std::optional<double> step, double fraction) {
        LaidOutView view(ValueSlider{value.binding(), 0, 1, step, readout}, {300, 40});
        const LayoutNode& slider = role(view, "slider");
        view.graph.click({slider.frame.minX() + 8 + (slider.frame.width() - 16) * fraction,
                          slider.frame.midY()});
    };
    clickAt(std::nullopt, 0.33);
    EXPECT_NEAR(value.value, 0.33, 1e-9);
    clickAt(0.25, 0.33);
    EXPECT_DOUBLE_EQ(value.value, 0.25);
    EXPECT_EQ(value.writes, 2);
    EXPECT_TRUE(LaidOutView(ValueSlider{value.binding(), 0, 1, 0.25, readout}, {300, 40})
                    .tree()
                    .findText("25%"));
}

TEST(ValueControls, TheColourWellShowsWhiteForNoColourAndStoresUpperCaseHex) {
    Recorded<std::string> hex{"not a colour"};
    LaidOutView view(ColorWell{hex.binding()}, {300, 40});
    EXPECT_TRUE(view.tree().findText("#FFFFFF"));
    EXPECT_EQ(role(view, "colorWell").element->value, "#FFFFFF");
    std::function<void(const Color&)> picked;
    view.graph.services().presentColorPanel = [&](const Color& current,
                                                  std::function<void(const Color&)> then) {
        EXPECT_EQ(current, Color(1, 1, 1));
        picked = std::move(then);
    };
    view.graph.click(centre(role(view, "colorWell")));
    ASSERT_TRUE(picked);
    picked(Color(1.0, 0.5, 0.0));
    EXPECT_EQ(hex.value, "#FF8000");
    EXPECT_EQ(hex.writes, 1);
    const LaidOutView lower(ColorWell{Binding<std::string>::constant("#a1b2c3")}, {300, 40});
    EXPECT_TRUE(lower.tree().findText("#A1B2C3"));
    EXPECT_EQ(role(lower, "colorWell").element->value, "#A1B2C3");
}

// Switches, segments, pop-up choices and buttons are clicked on the pages that hold them.
TEST(ValueControls, AReadoutsTintSetsItsColourButNotItsFont) {
    auto shown = [](const Readout& readout) {
        const LaidOutView view(readout, {300, 40});
        return *view.tree().findText(readout.text);
    };
    const LayoutNode prominent = shown(Readout{"1.2.3", true});
    EXPECT_EQ(prominent.font, Font::system(12.5, Font::Weight::medium, Font::Design::monospaced));
    EXPECT_EQ(prominent.color, Palette::title());
    const LayoutNode plain = shown(Readout{"plain", false});
    EXPECT_EQ(plain.font, Font::system(11.5));
    EXPECT_EQ(plain.color, Palette::dim());
    const LayoutNode tinted = shown(Readout{"good", true, Palette::good()});
    EXPECT_EQ(tinted.font, prominent.font);
    EXPECT_EQ(tinted.color, Palette::good());
}

}  // namespace
}  // namespace kelvo
