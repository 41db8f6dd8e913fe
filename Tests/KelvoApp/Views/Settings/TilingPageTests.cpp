// The Tiling tab as laid out in the window: its cards in order, the hand-set desktops row that
// comes and goes with the per-desktop layouts, the layout segments, the gap sliders that store
// whole points, and the stash desktop's switch and choice.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Settings/RulesCard.h"
#include "KelvoApp/Views/Settings/TilingPage.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class TilingPageTest : public SettingsPageFixture {
  protected:
    LaidOutPage page{[this] { return TilingPage(model).body(); }};
};

TEST_F(TilingPageTest, ListsWindowsGapsAndRulesWithTheirControls) {
    EXPECT_EQ(page.outline(),
              (std::vector<std::string>{"WINDOWS", "defaultLayoutMode", "clickToFloat", "GAPS",
                                        "innerGap", "outerGap", "RULES", "floatRules",
                                        "ignoreRules", "stashEnabled", "stashDesktop"}));
    const LayoutNode& mode = page.role(page.id("defaultLayoutMode"), "segmented");
    EXPECT_EQ(mode.element->value, "Split");
    EXPECT_EQ(LaidOutPage::texts(mode), (std::vector<std::string>{"Split", "Master & stack"}));
    EXPECT_EQ(page.role(page.id("clickToFloat"), "switch").element->value, "1");
    for (const char* gap : {"innerGap", "outerGap"})
        EXPECT_TRUE(page.id(gap).findText("0 pt")) << gap;
    EXPECT_TRUE(page.role(page.id("stashEnabled"), "switch").element->value == "1");
    EXPECT_EQ(page.role(page.id("stashDesktop"), "popUpButton").element->value, "Desktop 9");
}

TEST_F(TilingPageTest, TheHandSetDesktopsRowListsThemAscendingOnlyWhileThereAreAny) {
    given([](Config& config) {
        config.layoutModes.set(5, LayoutMode::masterStack);
        config.layoutModes.set(2, LayoutMode::bsp);
    });
    page.refresh();
    const std::vector<std::string> outline = page.outline();
    EXPECT_EQ(std::vector<std::string>(outline.begin(), outline.begin() + 4),
              (std::vector<std::string>{"WINDOWS", "defaultLayoutMode", "handSetDesktops",
                                        "clickToFloat"}));
    EXPECT_TRUE(page.id("handSetDesktops").findText("2, 5"));
    EXPECT_FALSE(page.id("handSetDesktops").findRole("switch"));

    given([](Config& config) { config.layoutModes = DesktopLayoutModes::none(); });
    page.refresh();
    EXPECT_FALSE(page.tree().findIdentifier("handSetDesktops"));
}

TEST_F(TilingPageTest, ASegmentWritesTheDefaultLayoutOnce) {
    const LayoutNode& segments = page.role(page.id("defaultLayoutMode"), "segmented");
    page.click(*segments.findText("Master & stack"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].defaultLayoutMode, LayoutMode::masterStack);
    EXPECT_EQ(page.role(page.id("defaultLayoutMode"), "segmented").element->value,
              "Master & stack");
}

TEST_F(TilingPageTest, AGapDraggedBetweenPointsIsStoredAndReadOutWhole) {
    page.slide("innerGap", 12.5 / 64);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].gaps.inner, 13);
    EXPECT_EQ(writes[0].gaps.outer, 0);
    EXPECT_TRUE(page.id("innerGap").findText("13 pt"));
    page.slide("outerGap", 1);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].gaps.outer, 64);
    EXPECT_TRUE(page.id("outerGap").findText("64 pt"));
    // A gap between points, as a hand-edited file may hold, reads out without its fraction.
    EXPECT_EQ(TilingPage::gapReadout(7.9), "7 pt");
}

TEST_F(TilingPageTest, TheStashChoiceIsDimmedWhileOffAndTurningItOnStoresTheLastDesktop) {
    given([](Config& config) { config.stashDesktop = std::nullopt; });
    page.refresh();
    const LayoutNode& choice = page.id("stashDesktop");
    EXPECT_DOUBLE_EQ(choice.opacity, 0.45);
    EXPECT_FALSE(choice.enabled);
    EXPECT_EQ(page.role(choice, "popUpButton").element->value, "Desktop 9");
    page.click(page.role(choice, "popUpButton"));
    EXPECT_TRUE(page.menus.empty());

    page.click(page.role(page.id("stashEnabled"), "switch"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].stashDesktop, 9);
    EXPECT_TRUE(page.id("stashDesktop").enabled);
    EXPECT_DOUBLE_EQ(page.id("stashDesktop").opacity, 1);

    page.click(page.role(page.id("stashEnabled"), "switch"));
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].stashDesktop, std::nullopt);
}

TEST_F(TilingPageTest, AStashBeyondTheDesktopsShowsTheLastOneUntilAnotherIsChosen) {
    given([](Config& config) {
        config.stashDesktop = 7;
        config.desktopCount = 4;
    });
    page.refresh();
    EXPECT_EQ(page.role(page.id("stashDesktop"), "popUpButton").element->value, "Desktop 4");
    page.pickInMenu = "Desktop 2";
    page.click(page.role(page.id("stashDesktop"), "popUpButton"));
    ASSERT_EQ(page.menus.size(), 1u);
    std::vector<std::string> titles;
    for (const MenuEntry& entry : page.menus[0])
        titles.push_back(entry.title);
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Desktop 1", "Desktop 2", "Desktop 3", "Desktop 4"}));
    EXPECT_TRUE(page.menus[0][3].checked);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].stashDesktop, 2);

    // However many desktops a hand-edited file names, the menu offers the nine there can be.
    Config huge;
    huge.desktopCount = 1'000'000'000'000;
    EXPECT_EQ(RulesCard::lastStashChoice(huge), 9);
    huge.desktopCount = -3;
    EXPECT_EQ(RulesCard::lastStashChoice(huge), 1);
    EXPECT_EQ(RulesCard::shownStashDesktop(huge), 1);
}

TEST_F(TilingPageTest, TheRuleListsShowTheUsersOwnIdentifiersAndAddThroughTheModelOnce) {
    model.runningApps = std::vector<AppEntry>{{"com.example.notes", "Notes"}};
    given([](Config& config) { config.floatBundleIDs = {}; });
    page.refresh();
    EXPECT_TRUE(page.id("floatRules").findText("Nothing yet."));
    EXPECT_TRUE(page.id("ignoreRules").findText("com.valvesoftware.steam"));
    // The built-in identifiers are not the user's to list.
    for (const std::string& builtIn : Config::builtInFloatBundleIDs())
        EXPECT_FALSE(page.id("floatRules").findText(builtIn)) << builtIn;

    page.pickInMenu = "Notes";
    page.click(page.role(page.id("floatRules"), "popUpButton"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].floatBundleIDs, (TextSet{"com.example.notes"}));
    EXPECT_TRUE(page.id("floatRules").findText("com.example.notes"));

    page.click(page.role(page.id("floatRules"), "button"));
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_TRUE(writes[1].floatBundleIDs.empty());

    page.click(page.role(page.id("ignoreRules"), "popUpButton"));
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[2].ignoreBundleIDs, (TextSet{"com.valvesoftware.steam", "com.example.notes"}));
    EXPECT_TRUE(writes[2].floatBundleIDs.empty());
}

}  // namespace
}  // namespace kelvo
