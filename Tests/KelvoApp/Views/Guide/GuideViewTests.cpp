#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KelvoApp/Views/ChromeMark.h"
#include "KelvoApp/Views/Guide/GuideKeyRow.h"
#include "KelvoApp/Views/Guide/GuideModel.h"
#include "KelvoApp/Views/Guide/GuidePages.h"
#include "KelvoApp/Views/Guide/GuideView.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoCore/Guide/FirstRunGuide.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Platform/SwiftUI/ViewGraph.h"
#include "Support/KelvoApp/SettingsViewFixture.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using SwiftUI::LayoutNode;
using SwiftUI::NodeKind;
using ::testing::ElementsAre;

/// The guide's root view over a guide of its own, laid out as its window shows it.
class GuideViewTest : public SettingsViewFixture {
  protected:
    static constexpr CGSize size = CGSize{620, 640};

    GuideViewTest() {
        show([this] { return GuideView(guide, model, mark).body(); }, size);
        graph->observe(guide);
    }

    /// The tree after everything published so far, on the given step.
    const LayoutNode& on(GuideStep step) {
        GuideFlow flow(GuideStep::accessibility);
        while (flow.step != step)
            flow.advance();
        guide.setFlow(flow);
        return layout();
    }
    const LayoutNode& layout() { return relayout(); }
    std::int64_t writesAfterSaving() {
        clock.advance(0.5);  // past the 0.4 s save
        return store.writeCount();
    }
    const LayoutNode& node(const std::string& identifier) {
        const LayoutNode* found = graph->tree().findIdentifier(identifier);
        if (!found) throw std::runtime_error("no " + identifier + "\n" + graph->tree().describe());
        return *found;
    }
    /// Whether a text shows exactly this, wherever its lines were broken.
    bool shows(const std::string& text) {
        return graph->tree().find([&](const LayoutNode& n) {
            std::string joined = n.text;
            std::erase(joined, '\n');
            return n.kind == NodeKind::text && joined == text;
        }) != nullptr;
    }
    /// The key rows' entry identifiers, in reading order.
    std::vector<std::string> keyRows() {
        const std::string prefix = "guide.key.";
        std::vector<std::string> rows;
        for (const LayoutNode* row : graph->tree().findAll(
                 [&](const LayoutNode& n) { return n.identifier.rfind(prefix, 0) == 0; }))
            rows.push_back(row->identifier.substr(prefix.size()));
        return rows;
    }
    /// The buttons' labels, in reading order.
    std::vector<std::string> buttons(const std::string& within) {
        std::vector<std::string> labels;
        for (const LayoutNode* found : node(within).findAll(
                 [](const LayoutNode& n) { return n.element && n.element->role == "button"; }))
            labels.push_back(found->element->label);
        return labels;
    }
    GuideModel guide{model};
    NSImageRef mark = ChromeMark::image();
};

TEST_F(GuideViewTest, TheHeaderShowsTheStepItsProgressAndTheMark) {
    on(GuideStep::keys);
    EXPECT_TRUE(shows("Step 3 of 5"));
    EXPECT_TRUE(shows("The keys worth knowing"));
    EXPECT_TRUE(shows(blurb(GuideStep::keys)));
    EXPECT_EQ(node("guide.mark").frame.size, (CGSize{22, 22}));
    const std::vector<SwiftUI::Color> fills = {
        Palette::accent().opacity(0.35), Palette::accent().opacity(0.35), Palette::accent(),
        SwiftUI::Color::white().opacity(0.07), SwiftUI::Color::white().opacity(0.07)};
    for (std::size_t i = 0; i < guide_step::count; ++i) {
        const GuideStep step = guide_step::allCases[i];
        const LayoutNode& segment = node("guide.progress." + rawValue(step));
        EXPECT_TRUE(segment.find([&](const LayoutNode& n) { return n.color == fills[i]; }))
            << rawValue(step);
        EXPECT_EQ(segment.frame.height(), 3);
        EXPECT_NEAR(segment.frame.width(), node("guide.progress.accessibility").frame.width(),
                    0.001);
    }

    mark = nullptr;
    graph->setNeedsUpdate();
    layout();
    const LayoutNode* word = node("guide.header").findText("Kelvo");
    ASSERT_TRUE(word);
    EXPECT_EQ(word->color, Palette::dim());
}

TEST_F(GuideViewTest, TheFooterOffersWhatTheStepAllowsItsButtonsMoveAndReturnPressesForward) {
    on(GuideStep::desktops);
    EXPECT_THAT(buttons("guide.footer"), ElementsAre("Skip", "Back", "Continue"));
    click(*node("guide.footer").findText("Back"));
    layout();
    EXPECT_EQ(guide.flow().step, GuideStep::accessibility);
    EXPECT_THAT(buttons("guide.footer"), ElementsAre("Skip", "Continue"));
    click(*node("guide.footer").findText("Skip"));
    layout();
    EXPECT_EQ(guide.flow().step, GuideStep::desktops);
    on(GuideStep::done);
    EXPECT_THAT(buttons("guide.footer"), ElementsAre("Back", "Done"));

    on(GuideStep::accessibility);
    for (GuideStep next :
         {GuideStep::desktops, GuideStep::keys, GuideStep::tweaks, GuideStep::done}) {
        ASSERT_TRUE(graph->press(SwiftUI::KeyboardShortcut::defaultAction()));
        layout();
        EXPECT_EQ(guide.flow().step, next);
    }
    int left = 0;
    guide.onLeave = [&] { ++left; };
    ASSERT_TRUE(graph->press(SwiftUI::KeyboardShortcut::defaultAction()));
    EXPECT_EQ(left, 1);
    EXPECT_TRUE(guide.flow().completed);
}

TEST_F(GuideViewTest, ThePermissionCardShowsTheGrantUntilTrustArrives) {
    desktop->setTrusted(false);
    guide.restart();
    on(GuideStep::accessibility);
    EXPECT_TRUE(shows("PERMISSION"));
    EXPECT_TRUE(shows("Not granted yet. Kelvo can see your windows but cannot move any of them."));
    EXPECT_THAT(buttons("guide.page"), ElementsAre("Grant access…"));
    const std::string note =
        "macOS opens System Settings ▸ Privacy & Security ▸ Accessibility and asks you there. "
        "Switch Kelvo on and come straight back - this screen notices on its own and moves to "
        "the next one.";
    EXPECT_TRUE(shows(note));
    EXPECT_EQ(node("guide.page").findText("Accessibility access")->color, Palette::title());

    click(*node("guide.page").findText("Grant access…"));
    EXPECT_EQ(desktop->trustPromptCount(), 1);

    desktop->setTrusted(true);
    guide.restart();
    layout();
    EXPECT_TRUE(shows("Granted. Kelvo can move and arrange your windows."));
    EXPECT_TRUE(buttons("guide.page").empty());
    EXPECT_FALSE(shows(note));
    EXPECT_EQ(node("guide.page").findText("Accessibility access")->color, Palette::good());
    const LayoutNode* check = node("guide.page").find([](const LayoutNode& n) {
        return n.kind == NodeKind::image && n.text == "checkmark.circle.fill";
    });
    ASSERT_TRUE(check);
    EXPECT_EQ(check->color, Palette::good());
    EXPECT_EQ(guide.flow().step, GuideStep::accessibility) << "the flow waits for Continue";
}

TEST_F(GuideViewTest, TheDesktopsPageCountsThroughTheSettingsModel) {
    on(GuideStep::desktops);
    EXPECT_TRUE(shows("DESKTOPS"));
    EXPECT_TRUE(shows("⌥1 through ⌥9 switch between them."));
    EXPECT_TRUE(shows("THE TWO CHORDS"));
    EXPECT_THAT(keyRows(), ElementsAre("desktopSwitch", "desktopThrow"));

    const auto clickArrow = [&](bool up) {
        const LayoutNode* stepper = graph->tree().findRole("stepper");
        ASSERT_TRUE(stepper);
        graph->click(CGPoint{stepper->frame.midX(),
                             up ? stepper->frame.minY() + 2 : stepper->frame.maxY() - 2});
        layout();
    };
    EXPECT_EQ(graph->tree().findRole("stepper")->element->value, "9");
    clickArrow(true);
    EXPECT_EQ(model.config().desktopCount, 9) << "nine desktops at most";
    // The lower arrow: one desktop fewer, written through the settings model to the file.
    clickArrow(false);
    EXPECT_EQ(model.config().desktopCount, 8);
    EXPECT_EQ(store.config().desktopCount, 8);
    EXPECT_EQ(writesAfterSaving(), 1);
    EXPECT_TRUE(shows("⌥1 through ⌥8 switch between them."));

    model.updateConfig([](Config& config) { config.desktopCount = 1; });
    layout();
    clickArrow(false);
    EXPECT_EQ(model.config().desktopCount, 1) << "one desktop at least";
}

TEST_F(GuideViewTest, TheKeysPageListsTheDayOneShortcuts) {
    on(GuideStep::keys);
    EXPECT_TRUE(shows("DAY ONE"));
    EXPECT_EQ(keyRows(), std::vector<std::string>(FirstRunGuide::dayOneKeys.begin(),
                                                  FirstRunGuide::dayOneKeys.end()));

    model.updateConfig([](Config& config) { config.showLauncher = false; });
    layout();
    EXPECT_EQ(keyRows().size(), 7u);
    on(GuideStep::desktops);
    EXPECT_THAT(keyRows(), ElementsAre("desktopSwitch", "desktopThrow"));
}

TEST_F(GuideViewTest, AKeyRowWithoutKeysSaysNotSet) {
    KeyReference::Entry entry = FirstRunGuide::dayOne(Config{}).at(2);
    entry.caps.clear();
    kelvo::testing::LaidOutView row(GuideKeyRow{entry}, CGSize{560, 100});
    const LayoutNode* text = row.tree().findText("Not set");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->color, Palette::dim());
    EXPECT_TRUE(row.tree().findText(entry.what));
}

TEST_F(GuideViewTest, TheTweaksPageNoteTheRowsAndReduceMotion) {
    on(GuideStep::tweaks);
    EXPECT_TRUE(shows("PUTTING THEM BACK"));
    EXPECT_TRUE(shows(
        "Every switch below writes one macOS preference key, and Kelvo writes down what was in "
        "it first. Settings ▸ System ▸ " +
        SettingsCatalog::entry(SettingsCatalog::SettingID::revertTweaks).title +
        " puts every one of them back exactly as Kelvo found it, and deletes the ones that were "
        "not set before.That button is the whole way out. Kelvo has no uninstaller, so deleting "
        "the app without pressing it would leave whatever you turn on here turned on, with "
        "nothing left that remembers what it was."));
    EXPECT_TRUE(shows("MACOS SETTINGS"));
    EXPECT_TRUE(shows("ALSO WORTH KNOWING"));
    // One row per tweak, in the catalogue's order; a switch writes its tweak like the System
    // page's.
    std::vector<std::string> rows, expected;
    for (const LayoutNode* row : graph->tree().findAll([](const LayoutNode& n) {
             return n.identifier.starts_with(SettingsCatalog::tweakPrefix);
         }))
        rows.push_back(row->identifier);
    for (const SystemTweak& tweak : SystemTweakCatalog::all())
        expected.push_back(SettingsCatalog::tweakPrefix + tweak.id);
    EXPECT_EQ(rows, expected);
    const SystemTweak& second = SystemTweakCatalog::all().at(1);
    click(*node(SettingsCatalog::tweakPrefix + second.id).findRole("switch"));
    EXPECT_TRUE(model.isOn(second));
    EXPECT_EQ(model.config().systemTweaks.size(), 1U);
    EXPECT_EQ(writesAfterSaving(), 1);
    EXPECT_TRUE(store.config().systemTweaks.contains(second.id));
}

TEST_F(GuideViewTest, TheDonePageTellsWhereEverythingIs) {
    int opened = 0;
    guide.onOpenSettings = [&] { ++opened; };
    on(GuideStep::done);
    EXPECT_TRUE(shows("WHERE EVERYTHING IS"));
    EXPECT_TRUE(shows(model.configPath + " · saved as you change it"));
    EXPECT_TRUE(shows("Find any setting"));
    EXPECT_TRUE(shows("In the settings window, type what you are after and press Enter."));
    EXPECT_TRUE(shows("⌘"));
    EXPECT_TRUE(shows("K"));
    EXPECT_TRUE(shows("Everything, on seven tabs"));
    EXPECT_TRUE(
        shows("Also in the menu bar, under Kelvo's icon. This guide is on the About tab "
              "if you want it again."));
    click(*node("guide.page").findText("Open Settings"));
    EXPECT_EQ(opened, 1);

    // A written configuration file is shown selected; the log, never written here, by its
    // folder.
    model.updateConfig([](Config& config) { config.desktopCount = 5; });
    store.flush();
    click(*node("guide.page").findText("Show in Finder"));
    click(*node("guide.page").findText("Reveal in Finder"));
    EXPECT_THAT(desktop->openedURLs(), ElementsAre("file://" + (folder / "config.json").string(),
                                                   "file://" + folder.path().string()));
}

TEST_F(GuideViewTest, TheHeightIsReportedOnceAfterEachShowingAndChangeOfStep) {
    std::vector<CGFloat> reported;
    guide.onIdealHeight = [&](CGFloat height) { reported.push_back(height); };
    on(GuideStep::desktops);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_FALSE(guide.sizingOwed);
    const CGFloat parts = node("guide.header").frame.height() + node("guide.page").frame.height() +
                          node("guide.footer").frame.height();
    EXPECT_NEAR(reported[0], parts + 2, 0.01);

    desktop->setTrusted(true);
    on(GuideStep::accessibility);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported[1], reported[0]);
    guide.back();  // on the first step: no change of step
    // The grant button and its note appear: the content grows within the step, unreported.
    desktop->setTrusted(false);
    guide.tick();
    layout();
    EXPECT_TRUE(shows("Grant access…"));
    EXPECT_EQ(reported.size(), 2u);
    guide.restart();
    EXPECT_TRUE(guide.sizingOwed) << "every showing owes a fit";
}

}  // namespace
}  // namespace kelvo
