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
    return node.kind == "Image" && node.color == Palette::caution();
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
    const LayoutNode* title = card.tree().findText("MENU BAR");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font, Font::system(10.5, Font::Weight::semibold));
    EXPECT_EQ(title->frame.minX(), 2);
    const LayoutNode* one = &card.id("one");
    const LayoutNode* two = &card.id("two");
    // Nine points below the title; the hairline between the rows is all that separates them.
    EXPECT_EQ(one->frame.minY(), title->frame.maxY() + 9);
    EXPECT_EQ(two->frame.minY(), one->frame.maxY() + 1);
    const LayoutNode* plate = card.tree().find(
        [](const LayoutNode& n) { return n.color == Palette::card() && n.frame.width() == 500; });
    EXPECT_TRUE(plate);
    const LayoutNode* rule =
        card.tree().find([](const LayoutNode& n) { return n.color == Palette::hairline(); });
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->frame.size, (CGSize{500, 1}));
}

TEST(SettingRow, ShowsTheEntrysTextsUnlessTheRowGivesItsOwn) {
    const SettingEntry entry = entryWith(std::nullopt, std::nullopt);
    {
        const LaidOutView row(SettingRow{.entry = entry, .control = Text("ctl")}, {700, 200});
        EXPECT_TRUE(row.tree().findText(entry.title));
        EXPECT_TRUE(row.tree().findText(entry.detail));
        // No `more`: no tooltip; no caution: no line for it.
        EXPECT_FALSE(row.tree().find([](const LayoutNode& n) { return !n.tooltip.empty(); }));
        EXPECT_FALSE(row.tree().find(cautionSymbol));
        const LayoutNode& whole = row.id(entry.id);
        EXPECT_EQ(whole.element, (AccessibilityElement{"group", entry.title}));
        const LayoutNode* prose = row.tree().findText(entry.detail);
        // Title, 2 points, prose: nothing else in the column, inset 11 above and below.
        EXPECT_EQ(whole.frame.height(), 11 + row.tree().findText(entry.title)->frame.height() + 2 +
                                            prose->frame.height() + 11);
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
        EXPECT_EQ(badge->font, Font::system(9.5, Font::Weight::medium));
        EXPECT_EQ(badge->color, Palette::dim());
        EXPECT_GT(badge->frame.minX(), row.tree().findText(entry.title)->frame.maxX() + 7 - 0.01);
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
    const View control = Text("a wide control label").lineLimit(1);
    for (CGFloat width : {1400.0, 520.0}) {
        SCOPED_TRACE(width);
        const LaidOutView row(SettingRow{.entry = entry, .detail = longText, .control = control},
                              {width, 400});
        const LayoutNode* ctl = row.tree().findText("a wide control label");
        ASSERT_TRUE(ctl);
        const LayoutNode* prose = row.tree().find(
            [](const LayoutNode& n) { return n.kind == "Text" && n.text.starts_with("word"); });
        ASSERT_TRUE(prose);
        EXPECT_LE(prose->frame.width(), 400);
        EXPECT_GT(prose->frame.height(), 20);  // several lines
        EXPECT_GE(ctl->frame.minX() - prose->frame.maxX(), 12);
        EXPECT_EQ(ctl->frame.maxX(), width - 16);
        const LaidOutView alone(control, {1000, 100});
        EXPECT_EQ(ctl->frame.size, alone.tree().findText("a wide control label")->frame.size);
    }
}

class FoundSettingTest : public SettingsViewFixture {
  protected:
    /// A setting row, a rule list and a shortcut row, under the model's flashing id.
    void showTargets() {
        const KeyReference::Entry shortcut =
            KeyReference::sections(model.config()).front().entries.front();
        targets = {"innerGap", "floatRules", "key." + shortcut.id};
        show([this, shortcut] {
            return flashedSetting(
                VStack(HorizontalAlignment::leading, 0,
                       {SettingRow{.entry = SettingsCatalog::entry(ID::innerGap),
                                   .control = Text("ctl")},
                        RuleList{SettingsCatalog::entry(ID::floatRules), {}, {}, {}, {}},
                        ShortcutItemView{ShortcutItem::row(shortcut), model}}),
                model.flashing.get());
        });
    }
    /// The targets highlighted now, as a person sees them: an accent plate behind the row.
    std::vector<std::string> lit() {
        relayout();
        std::vector<std::string> shown;
        for (const std::string& target : targets)
            if (id(target).find([](const LayoutNode& n) {
                    return n.color == Palette::accent().opacity(0.2) && n.opacity > 0.99;
                }))
                shown.push_back(target);
        return shown;
    }
    std::vector<std::string> targets;
};

TEST_F(FoundSettingTest, TheFoundRowAloneIsHighlightedForOnePointOneSeconds) {
    showTargets();
    EXPECT_TRUE(lit().empty());
    for (const std::string& target : targets) {
        model.revealSetting(target);
        clock.advance(0.5);
        EXPECT_EQ(lit(), std::vector<std::string>{target});
        clock.advance(0.55);
        EXPECT_EQ(lit(), std::vector<std::string>{target}) << "gone before 1.1 s";
        clock.advance(0.4);
        EXPECT_TRUE(lit().empty()) << target << " still lit after 1.1 s and the fade";
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
    const LaidOutView shown(Counter{count.binding(), 1, 3}, {200, 40});
    const LayoutNode* number = shown.tree().findText("3");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->font, Font::system(15, Font::Weight::medium, Font::Design::monospaced));
}

TEST(ValueControls, ASliderMovesInItsStepsOrFreelyAndItsReadoutFollows) {
    Recorded<double> value{0};
    auto readout = [](double v) { return std::to_string(static_cast<int>(v * 100)) + "%"; };
    auto clickAt = [&](std::optional<double> step, double fraction) {
        LaidOutView view(ValueSlider{value.binding(), 0, 1, step, readout}, {300, 40});
        const LayoutNode& slider = role(view, "slider");
        EXPECT_EQ(slider.frame.width(), 150);
        view.graph.click({slider.frame.minX() + 8 + (slider.frame.width() - 16) * fraction,
                          slider.frame.midY()});
    };
    clickAt(std::nullopt, 0.33);
    EXPECT_NEAR(value.value, 0.33, 1e-9);
    clickAt(0.25, 0.33);
    EXPECT_DOUBLE_EQ(value.value, 0.25);
    EXPECT_EQ(value.writes, 2);
    const LaidOutView shown(ValueSlider{value.binding(), 0, 1, 0.25, readout}, {300, 40});
    const LayoutNode* text = shown.tree().findText("25%");
    ASSERT_TRUE(text);
    // The readout sits trailing in its 46 points, 12 after the slider.
    EXPECT_DOUBLE_EQ(text->frame.maxX(), role(shown, "slider").frame.maxX() + 12 + 46);
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

TEST(ValueControls, SwitchesSegmentsChoicesAndButtonsWriteOncePerClick) {
    Recorded<bool> on{false};
    {
        LaidOutView view(Switch{on.binding()}, {100, 40});
        view.graph.click(centre(role(view, "switch")));
    }
    EXPECT_TRUE(on.value);
    EXPECT_EQ(on.writes, 1);

    Recorded<int> side{0};
    {
        LaidOutView view(Segmented<int>{side.binding(),
                                        {0, 1},
                                        [](const int& v) {
                                            return v == 0 ? std::string("⌥ Option")
                                                          : std::string("⌃ Control");
                                        }},
                         {300, 40});
        const auto segment = [&](const std::string& label) {
            return view.tree().find(
                [&](const LayoutNode& n) { return n.element && n.element->label == label; });
        };
        const LayoutNode* option = segment("⌥ Option");
        const LayoutNode* control = segment("⌃ Control");
        ASSERT_TRUE(option && control);
        EXPECT_LT(option->frame.minX(), control->frame.minX());
        view.graph.click(centre(*control));
    }
    EXPECT_EQ(side.value, 1);
    EXPECT_EQ(side.writes, 1);

    Recorded<int> chosen{2};
    {
        LaidOutView view(Choice<int>{chosen.binding(), {{"One", 1}, {"Two", 2}}}, {300, 40});
        EXPECT_EQ(role(view, "popUpButton").element->value, "Two");
        std::function<void(std::size_t)> pick;
        view.graph.services().presentMenu = [&](const std::vector<MenuEntry>& entries, CGRect,
                                                std::function<void(std::size_t)> then) {
            ASSERT_EQ(entries.size(), 2u);
            pick = std::move(then);
        };
        view.graph.click(centre(role(view, "popUpButton")));
        ASSERT_TRUE(pick);
        pick(0);
    }
    EXPECT_EQ(chosen.value, 1);
    EXPECT_EQ(chosen.writes, 1);

    int pressed = 0;
    LaidOutView button(Action{"Open…", [&] { ++pressed; }}, {200, 40});
    button.graph.click(centre(role(button, "button")));
    EXPECT_EQ(pressed, 1);
}

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
