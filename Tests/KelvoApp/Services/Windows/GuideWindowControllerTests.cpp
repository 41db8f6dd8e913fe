#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Input/AppPresence.h"
#include "KelvoApp/Services/Windows/GuideWindowController.h"
#include "Platform/AppKit/NSAppearance.h"
#include "Platform/AppKit/NSScreen.h"
#include "Support/KelvoApp/FakeAppPlatform.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {
namespace {

/// The guide's window and its model, as the coordinator makes and shows them.
class GuideWindowTest : public SettingsViewFixture {
  protected:
    GuideWindowTest() {
        guide.presence = &presence;
        guide.onClose = [this] { ++closes; };
    }
    void showUntrusted() {
        desktop->setTrusted(false);
        guide.show();
    }
    /// Runs the deferred fit of the height the pages report.
    void report(CGFloat height) {
        guide.model.sizingOwed = false;
        guide.model.onIdealHeight(height);
        settle();
    }
    /// Makes the first display's visible area `height` points high.
    void visibleHeight(double height) {
        const auto display = desktop->displays().front();
        desktop->moveDisplay(display.id, CGRect(0, 0, 1440, height + sim::Desktop::menuBarHeight));
    }
    CGRect frame() const { return guide.window->frame(); }
    std::int64_t writesAfterSaving() {
        clock.advance(0.5);  // past the 0.4 s save
        return store.writeCount();
    }

    FakeAppPlatform platform;
    AppPresence presence{platform};
    GuideWindowController guide{model};
    int closes = 0;
};

TEST_F(GuideWindowTest, TheWindowIsMadeOnFirstShowAndPlacedUnderTheStatusItem) {
    EXPECT_FALSE(guide.window);
    guide.anchor = [] { return CGRect(1200, 875, 180, 25); };
    guide.show();
    ASSERT_TRUE(guide.window);
    const NSWindow& window = *guide.window;
    EXPECT_EQ(window.title(), "Kelvo Guide");
    EXPECT_EQ(window.titleVisibility(), NSWindowTitleVisibility::hidden);
    EXPECT_TRUE(window.titlebarAppearsTransparent());
    EXPECT_EQ(window.styleMask(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable |
                                      NSWindowStyleMaskMiniaturizable | NSWindowStyleMaskResizable |
                                      NSWindowStyleMaskFullSizeContentView);
    EXPECT_EQ(window.level(), 4);
    EXPECT_TRUE(window.isMovableByWindowBackground());
    EXPECT_TRUE(window.appearance()->isDark());
    EXPECT_EQ(window.minSize(), (CGSize{560, 460}));
    // 875 visible points less 40, capped at 640; the right edges aligned, 6 below the menu bar.
    EXPECT_EQ(frame(), CGRect(1380 - 620, 875 - 640 - 6, 620, 640));
    EXPECT_TRUE(guide.isKey());
    EXPECT_EQ(window.maxSize().height, 640);

    // An item near the left edge: the window keeps 6 points from the screen's side.
    GuideWindowController left{model};
    left.anchor = [] { return CGRect(10, 875, 100, 25); };
    left.show();
    EXPECT_EQ(left.window->frame().minX(), 6);
    left.close();
}

TEST_F(GuideWindowTest, WithoutAnAnchorOrAScreenTheWindowIsCentred) {
    guide.anchor = [] { return std::optional<CGRect>(); };
    guide.show();
    EXPECT_EQ(frame().midX(), 720);
    guide.close();

    GuideWindowController noScreen{model};
    desktop->removeDisplay(desktop->displays().front().id);
    ASSERT_TRUE(NSScreen::screens().empty());
    noScreen.show();
    EXPECT_EQ(noScreen.window->frame().size, (CGSize{620, 600}));
    noScreen.close();
}

TEST_F(GuideWindowTest, TheFirstHeightAndTheFitsFollowTheScreen) {
    visibleHeight(1000);
    guide.show();
    EXPECT_EQ(frame().height(), 640);
    report(300.2);
    EXPECT_EQ(frame().height(), 460) << "raised to the minimum";
    const double top = frame().maxY();
    report(520.4);
    EXPECT_EQ(frame().height(), 521) << "rounded up to a whole point";
    EXPECT_EQ(frame().maxY(), top) << "the top edge stays";
    report(520.2);
    EXPECT_EQ(frame().height(), 521) << "within a point nothing moves";
    report(2000);
    EXPECT_EQ(frame().height(), 640);

    GuideWindowController small{model};
    visibleHeight(480);
    small.show();
    EXPECT_EQ(small.window->frame().height(), 460);
    small.model.onIdealHeight(500);
    settle();
    EXPECT_EQ(small.window->frame().height(), 456) << "the screen's cap wins over the minimum";
    EXPECT_GE(small.window->frame().minY(), 0);
    small.close();
}

TEST_F(GuideWindowTest, TrustIsPolledOnceASecondOnlyWhileTheWindowIsOpen) {
    showUntrusted();
    EXPECT_TRUE(guide.model.isWatching());
    clock.advance(3);
    EXPECT_FALSE(guide.model.trusted());
    desktop->setTrusted(true);
    clock.advance(0.5);
    EXPECT_FALSE(guide.model.trusted()) << "not asked before the second is up";
    clock.advance(0.5);
    EXPECT_TRUE(guide.model.trusted());
    EXPECT_EQ(guide.model.flow().step, GuideStep::desktops) << "moved on without a button";

    guide.close();
    EXPECT_FALSE(guide.model.isWatching());
    desktop->setTrusted(false);
    clock.advance(5);
    EXPECT_TRUE(guide.model.trusted()) << "no poll after closing";
}

TEST_F(GuideWindowTest, GrantingTrustOnALaterStepOnlyPublishesIt) {
    showUntrusted();
    guide.model.advance();
    guide.model.advance();
    ASSERT_EQ(guide.model.flow().step, GuideStep::keys);
    desktop->setTrusted(true);
    clock.advance(1);
    EXPECT_TRUE(guide.model.trusted());
    EXPECT_EQ(guide.model.flow().step, GuideStep::keys);
}

TEST_F(GuideWindowTest, DoneClosesTheWindowAndMarksTheGuideSeenOnce) {
    guide.show();
    clock.advance(3);
    EXPECT_EQ(guide.model.flow().step, GuideStep::accessibility)
        << "trusted from the start, the guide waits for Continue";
    for (int i = 0; i < 4; ++i)
        guide.model.advance();
    ASSERT_EQ(guide.model.flow().step, GuideStep::done);
    EXPECT_TRUE(guide.window->isVisible());
    EXPECT_FALSE(model.config().guideSeen);

    guide.model.advance();
    EXPECT_TRUE(guide.model.flow().completed);
    EXPECT_FALSE(guide.window->isVisible());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(model.config().guideSeen);
    EXPECT_EQ(writesAfterSaving(), 1);
    EXPECT_TRUE(store.config().guideSeen);

    // Shown again: the first step, in the window's last frame; closing writes nothing new.
    const CGRect last = frame();
    guide.show();
    EXPECT_EQ(guide.model.flow(), GuideFlow(GuideStep::accessibility));
    EXPECT_EQ(frame(), last);
    guide.close();
    EXPECT_EQ(writesAfterSaving(), 1);
    EXPECT_EQ(closes, 2);
}

TEST_F(GuideWindowTest, AClickOnItsCloseButtonOnAnyStepClosesItAndMarksTheGuideSeen) {
    guide.show();
    guide.model.advance();
    settle();
    const auto buttons =
        desktop->titleBarButtons(static_cast<sim::WindowNumber>(guide.window->windowNumber()));
    ASSERT_EQ(buttons.size(), 3u);
    const CGPoint close{buttons[0].frame.midX(), buttons[0].frame.midY()};
    desktop->mouseDown(close);
    desktop->mouseUp(close);
    settle();
    EXPECT_FALSE(guide.window->isVisible());
    EXPECT_TRUE(model.config().guideSeen);
    EXPECT_FALSE(guide.model.isWatching());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(writesAfterSaving(), 1);
}

TEST_F(GuideWindowTest, ShowingTwiceCountsOneOpenWindow) {
    guide.show();
    guide.show();
    EXPECT_EQ(presence.openWindows(), 1);
    guide.orderOut();
    guide.orderFront();
    guide.show();
    EXPECT_EQ(presence.openWindows(), 1);
    guide.close();
    EXPECT_EQ(presence.openWindows(), 0);
    EXPECT_EQ(platform.requests.back(), "policy(accessory)");
}

}  // namespace
}  // namespace kelvo
