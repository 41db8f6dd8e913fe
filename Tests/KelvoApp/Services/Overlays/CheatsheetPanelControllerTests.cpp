#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "Platform/AppKit/NSAppearance.h"
#include "Platform/AppKit/NSScreen.h"
#include "Platform/AppKit/NSWindow.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

/// The cheat sheet as a panel of the simulated desktop, on the manual clock, showing the key
/// reference of a configuration the test changes.
class CheatsheetPanelTest : public DesktopFixture {
  protected:
    sim::OwnWindowSpec look() const {
        return desktop->ownWindow(static_cast<sim::WindowNumber>(sheet.panel.windowNumber()))
            .value();
    }
    /// The labels of the text elements the panel publishes, in reading order.
    std::vector<std::string> publishedTexts() const {
        std::vector<std::string> texts;
        for (const auto& element : sheet.panel.elementTree())
            if (element.role == "text") texts.push_back(element.label);
        return texts;
    }

    Config config;
    int fetched = 0;
    CheatsheetPanelController sheet{[this] {
        ++fetched;
        return KeyReference::sections(config);
    }};
};

TEST_F(CheatsheetPanelTest, ThePanelIsALargeDarkFloatingPanelThatNeverActivates) {
    const NSPanel& panel = sheet.panel;
    EXPECT_TRUE(panel.isFloatingPanel());
    EXPECT_EQ(panel.level(), 8);
    EXPECT_FALSE(panel.isOpaque());
    EXPECT_EQ(*panel.backgroundColor()->CGColor(), (CGColorValue{0, 0, 0, 0}));
    EXPECT_TRUE(panel.hasShadow());
    EXPECT_FALSE(panel.isMovable());
    EXPECT_FALSE(panel.hidesOnDeactivate());
    EXPECT_FALSE(panel.isReleasedWhenClosed());
    EXPECT_EQ(panel.collectionBehavior(), NSWindowCollectionBehaviorCanJoinAllSpaces |
                                              NSWindowCollectionBehaviorIgnoresCycle |
                                              NSWindowCollectionBehaviorFullScreenAuxiliary);
    ASSERT_TRUE(panel.appearance());
    EXPECT_TRUE(panel.appearance()->isDark());
    EXPECT_EQ(panel.animationBehavior(), NSWindowAnimationBehavior::utilityWindow);
    EXPECT_FALSE(panel.canBecomeKeyWindow());
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(fetched, 0);

    EXPECT_EQ(sheet.backdrop->material(), NSVisualEffectMaterial::hudWindow);
    EXPECT_EQ(sheet.backdrop->state(), NSVisualEffectState::active);
    const CALayerRef& layer = sheet.backdrop->layer();
    EXPECT_EQ(layer->cornerRadius(), 16);
    EXPECT_EQ(layer->cornerCurve(), CALayerCornerCurve::continuous);
    EXPECT_TRUE(layer->masksToBounds());
    EXPECT_EQ(layer->borderWidth(), 1);
    EXPECT_EQ(*layer->borderColor(), (CGColorValue{1, 1, 1, 0.1}));
}

TEST_F(CheatsheetPanelTest, EachOpeningFetchesTheReferenceAfreshAndTogglingTwiceCloses) {
    sheet.toggle();
    EXPECT_TRUE(sheet.isShown());
    EXPECT_EQ(fetched, 1);
    EXPECT_EQ(sheet.model.sections.get(), KeyReference::sections(config));
    settle();
    EXPECT_TRUE(sheet.hosting->layoutTree().findIdentifier("launcher"));

    sheet.toggle();
    EXPECT_FALSE(sheet.isShown());
    EXPECT_EQ(fetched, 1);

    // A change while closed shows at the next opening, and only then.
    config.showLauncher = false;
    config.shortcuts.clear(Shortcut::cheatsheet);
    EXPECT_TRUE(sheet.model.sections->size() > KeyReference::sections(config).size());
    sheet.toggle();
    settle();
    EXPECT_EQ(fetched, 2);
    EXPECT_EQ(sheet.model.sections.get(), KeyReference::sections(config));
    EXPECT_FALSE(sheet.hosting->layoutTree().findIdentifier("launcher"));
    EXPECT_FALSE(sheet.hosting->layoutTree().findText("again to close"));
}

TEST_F(CheatsheetPanelTest, TheShownSheetPublishesItsRowsForPeopleToRead) {
    sheet.toggle();
    settle();
    const std::vector<std::string> texts = publishedTexts();
    EXPECT_THAT(texts, ::testing::Contains("Shortcuts"));
    EXPECT_THAT(texts, ::testing::Contains("DESKTOPS"));
    EXPECT_THAT(texts, ::testing::Contains("again to close"));
    for (const auto& section : KeyReference::sections(config))
        for (const auto& entry : section.entries)
            EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                                   [&](std::string text) {
                                       std::erase(text, '\n');
                                       return text == entry.what;
                                   }),
                      texts.end())
                << entry.id;
    EXPECT_GT(sheet.panel.picturesSent(), 0u);
}

TEST_F(CheatsheetPanelTest, OnAThousandBySixHundredVisibleFrameItIsNineTwentyBy520Centred) {
    desktop->moveDisplay(desktop->displays().front().id,
                         CGRect(0, 0, 1000, 600 + sim::Desktop::menuBarHeight));
    sheet.toggle();
    const CGRect visible = NSScreen::mainScreen()->visibleFrame();
    ASSERT_EQ(visible.size, (CGSize{1000, 600}));
    EXPECT_EQ(sheet.panel.frame(), CGRect(visible.midX() - 460, visible.midY() - 260, 920, 520));
    EXPECT_EQ(sheet.hosting->frame(), CGRect(0, 0, 920, 520));
}

// The sheet is 80 points narrower and shorter than the visible frame, at most 980 × 620: a
// frame of exactly 1060 × 700 gives the full size, one point less on each side one point less.
TEST_F(CheatsheetPanelTest, TheFullSizeStartsAtAVisibleFrameOf1060By700) {
    const std::pair<CGSize, CGSize> rows[] = {
        {{1060, 700}, {980, 620}}, {{1059, 699}, {979, 619}}, {{1061, 701}, {980, 620}}};
    for (const auto& [visibleSize, sheetSize] : rows) {
        desktop->moveDisplay(
            desktop->displays().front().id,
            CGRect(0, 0, visibleSize.width, visibleSize.height + sim::Desktop::menuBarHeight));
        sheet.toggle();
        ASSERT_EQ(NSScreen::mainScreen()->visibleFrame().size, visibleSize);
        EXPECT_EQ(sheet.panel.frame().size, sheetSize) << visibleSize.width;
        sheet.toggle();
    }
}

TEST_F(CheatsheetPanelTest, ItOpensOnTheScreenUnderThePointerElseOnTheMainScreen) {
    desktop->addDisplay(CGRect(1440, 0, 1920, 1200));
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    desktop->movePointer(CGPoint{2000, 500});
    sheet.toggle();
    const CGRect second = screens[1]->visibleFrame();
    EXPECT_EQ(sheet.panel.frame(), CGRect(second.midX() - 490, second.midY() - 310, 980, 620));
    sheet.toggle();

    desktop->movePointer(CGPoint{-500, -500});
    sheet.toggle();
    const CGRect main = NSScreen::mainScreen()->visibleFrame();
    EXPECT_EQ(sheet.panel.frame(), CGRect(main.midX() - 490, main.midY() - 310, 980, 620));
}

TEST_F(CheatsheetPanelTest, TheFrontApplicationStaysFrontAndKeepsTheKeys) {
    const sim::Pid front = launch("com.example.editor", true);
    open(front, CGRect(100, 100, 600, 400));
    sheet.toggle();
    settle();
    EXPECT_EQ(desktop->frontmostApplication(), front);
    EXPECT_EQ(NSWindow::keyWindow(), nullptr);
    EXPECT_FALSE(look().key);
    EXPECT_TRUE(look().nonactivating);
    desktop->pressKey(4);
    settle();
    EXPECT_EQ(keysReceived(front), std::vector<std::uint16_t>{4});
}

}  // namespace
}  // namespace kelvo
