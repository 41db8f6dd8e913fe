// The status item on an in-process desktop, on the manual clock: what it shows for the model,
// which setters redraw, the flash's timetable, the clicks that open its menu and the entries
// that forward to the coordinator.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Services/Overlays/MenuBarController.h"
#include "Platform/AppKit/NSEvent.h"
#include "Support/KelvoCore/Printers.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

class MenuBarControllerTest : public DesktopFixture {
  protected:
    MenuBarController& make(int count = 9, bool showName = false) {
        controller = std::make_unique<MenuBarController>(
            model, count, showName,
            MenuBarController::Callbacks{
                .onSettings = [this] { calls.push_back("settings"); },
                .onGuide = [this] { calls.push_back("guide"); },
                .onCheatsheet = [this] { calls.push_back("cheatsheet"); },
                .shortcutsChord = [this] { return chord; },
                .onRebalance = [this] { calls.push_back("rebalance"); },
                .onQuit = [this] { calls.push_back("quit"); },
            });
        settle();
        return *controller;
    }
    sim::StatusItemInfo shown() {
        settle();
        const auto items = desktop->statusItems();
        return items.empty() ? sim::StatusItemInfo{} : items.front();
    }
    CGPoint itemCentre() {
        const CGRect frame = shown().frame;
        return {frame.midX(), frame.midY()};
    }
    void rightClick() {
        desktop->rightMouseDown(itemCentre());
        desktop->rightMouseUp(itemCentre());
        settle();
    }
    void leftClick(std::uint64_t flags = 0) {
        desktop->mouseDown(itemCentre(), flags);
        desktop->mouseUp(itemCentre(), flags);
        settle();
    }
    std::vector<std::string> menuTitles() const {
        std::vector<std::string> titles;
        for (const sim::MenuItemRecord& item : desktop->openMenu())
            titles.push_back(item.separator ? "-" : item.title);
        return titles;
    }
    NSImageRef image() const { return controller->item()->button()->image(); }

    DesktopModel model;
    std::unique_ptr<MenuBarController> controller;
    std::vector<std::string> calls;
    std::string chord = "⌥/";
};

TEST_F(MenuBarControllerTest, ShowsNineTilesWithTheLabelAndTooltipOfTheModel) {
    make();
    const auto item = shown();
    EXPECT_EQ(item.pid, ownPid);
    EXPECT_EQ(item.frame.width(), 183);
    EXPECT_EQ(item.spec.label, "Kelvo - desktop 1 of 9");
    EXPECT_EQ(item.spec.toolTip,
              "This desktop keeps one main window with the rest stacked beside it");
    EXPECT_TRUE(item.spec.imageIsTemplate);
    for (const char* key : {"position", "contents", "onOrderOut"})
        EXPECT_EQ(controller->item()->button()->layer()->actions().count(key), 1u) << key;

    controller->setDesktops(2, {1, 2});
    controller->setLayoutMode(LayoutMode::bsp);
    EXPECT_EQ(shown().spec.label, "Kelvo - desktop 2 of 9");
    EXPECT_EQ(shown().spec.toolTip, "This desktop splits whichever window you are in");
    const auto frame = controller->buttonWindowFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width(), 183);
    EXPECT_GT(frame->maxX(), 0);
}

TEST_F(MenuBarControllerTest, NoneOrOneDesktopReadsOfOneWithOneTile) {
    make(0);
    EXPECT_EQ(shown().spec.label, "Kelvo - desktop 1 of 1");
    EXPECT_EQ(shown().frame.width(), 39);
    controller->setDesktopCount(1);
    EXPECT_EQ(shown().spec.label, "Kelvo - desktop 1 of 1");
    EXPECT_EQ(model.count, 1);
    controller->setDesktopCount(4);
    EXPECT_EQ(shown().frame.width(), 93);
}

TEST_F(MenuBarControllerTest, UnchangedValuesDoNotRedraw) {
    make();
    controller->setDesktops(3, {1, 3});
    const NSImageRef drawn = image();
    controller->setDesktops(3, {1, 3});
    controller->setLayoutMode(LayoutMode::masterStack);
    controller->setFocusedApp("");
    controller->setFocusedApp(std::nullopt);
    controller->setDesktopCount(9);
    controller->setShowsName(false);
    EXPECT_EQ(image(), drawn);
    controller->setFocusedApp("Safari");
    const NSImageRef named = image();
    EXPECT_NE(named, drawn);
    controller->setFocusedApp("Safari");
    EXPECT_EQ(image(), named);
    // An empty name is no name.
    controller->setFocusedApp("");
    EXPECT_FALSE(model.focusedApp.get());
    EXPECT_NE(image(), named);
    // Either value alone is a change.
    const NSImageRef before = image();
    controller->setDesktops(3, {1});
    EXPECT_NE(image(), before);
}

TEST_F(MenuBarControllerTest, ShowingTheNameChangesTheLengthInTheSameRedraw) {
    make();
    controller->setShowsName(true);
    EXPECT_EQ(controller->item()->length(), 276);
    EXPECT_EQ(shown().frame.width(), 276);
    controller->setShowsName(false);
    EXPECT_EQ(controller->item()->length(), 183);
}

TEST_F(MenuBarControllerTest, ASecondFlashFollowsItsOwnTimetable) {
    make();
    std::vector<std::pair<int, std::optional<int>>> seen;  // (hundredths of a second, flashing)
    controller->flash(3);
    EXPECT_EQ(model.flashing.get(), 3);
    clock.advance(0.1);
    controller->flash(4);
    EXPECT_EQ(model.flashing.get(), 4);
    for (int hundredths = 11; hundredths <= 70; ++hundredths) {
        clock.advance(0.01);
        seen.emplace_back(hundredths, model.flashing.get());
    }
    // The first flash's steps at 0.16, 0.32 and 0.48 never run.
    for (const auto& [at, flashing] : seen) {
        const double since = (at - 10) / 100.0;
        const bool lit = since < 0.16 - 1e-9 || (since >= 0.32 - 1e-9 && since < 0.48 - 1e-9);
        EXPECT_EQ(flashing, lit ? std::optional<int>(4) : std::nullopt) << at;
    }
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(MenuBarControllerTest, APlainLeftClickDoesNothingAndARightOrControlClickOpensTheMenu) {
    make();
    leftClick();
    EXPECT_TRUE(desktop->openMenu().empty());
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(controller->item()->menu());

    rightClick();
    EXPECT_THAT(menuTitles(), ElementsAre("Settings…", "Guide…", "Shortcuts   ⌥/", "Rebalance", "-",
                                          "Quit Kelvo"));
    ASSERT_TRUE(desktop->pickMenuItem("Rebalance"));
    settle();
    EXPECT_THAT(calls, ElementsAre("rebalance"));
    // Detached again on closing: the next plain click opens nothing.
    EXPECT_FALSE(controller->item()->menu());
    leftClick();
    EXPECT_TRUE(desktop->openMenu().empty());

    leftClick(NSEventModifierFlagControl);
    EXPECT_EQ(menuTitles().size(), 6u);
    ASSERT_TRUE(desktop->pickMenuItem("Shortcuts   ⌥/"));
    settle();
    EXPECT_THAT(calls, ElementsAre("rebalance", "cheatsheet"));
}

TEST_F(MenuBarControllerTest, EveryEntryForwardsToItsCallback) {
    make();
    for (const char* title : {"Settings…", "Guide…", "Rebalance", "Quit Kelvo"}) {
        rightClick();
        ASSERT_TRUE(desktop->pickMenuItem(title)) << title;
        settle();
    }
    EXPECT_THAT(calls, ElementsAre("settings", "guide", "rebalance", "quit"));
}

TEST_F(MenuBarControllerTest, WithTheCheatSheetShortcutClearedTheEntryReadsJustShortcuts) {
    make();
    rightClick();
    EXPECT_EQ(menuTitles()[2], "Shortcuts   ⌥/");
    const auto& title = controller->menu()->itemArray()[2]->attributedTitle();
    ASSERT_TRUE(title);
    ASSERT_EQ(title->runs().size(), 2u);
    EXPECT_EQ(title->runs()[0].attributes.foregroundColor->value(), NSColor::labelColor()->value());
    EXPECT_EQ(title->runs()[1].attributes.foregroundColor->value(),
              NSColor::secondaryLabelColor()->value());
    desktop->pressKey(53);  // Escape
    settle();
    chord.clear();
    rightClick();
    EXPECT_EQ(menuTitles()[2], "Shortcuts");
    EXPECT_FALSE(controller->menu()->itemArray()[2]->attributedTitle());
}

}  // namespace
}  // namespace kelvo
