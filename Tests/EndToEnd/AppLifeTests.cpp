#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Someone hides an application from outside it (`kelvo-sim hide`, as with its menu or the Dock)
// and shows it again (`kelvo-sim unhide`, or by bringing it to the front). Kelvo keeps the
// hidden application's panes (its windows are only left out of what must be visible), so the
// windows come back to the tiles they left.
class AppLifeTest : public EndToEndTest {
  protected:
    void SetUp() override {
        left = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
        first = open(browser, CGRect(500, 200, 800, 600), FixtureQuirk::plain, "Start page");
        second = open(browser, CGRect(600, 300, 800, 600), FixtureQuirk::plain, "Search");
        startKelvo();
        ASSERT_TRUE(settled({left, first, second}));
        for (auto number : {left, first, second})
            tiles[number] = tile(number);
    }

    /// Hides the browser from outside and waits for Kelvo's line and the windows to go.
    void hideBrowser() {
        ASSERT_EQ(desktop().run({"hide", std::to_string(pidOf(browser))}).status, 0);
        ASSERT_TRUE(kelvo().waitForLine(
            "com.example.browser hidden by the user - left hidden, its panes kept"));
        ASSERT_TRUE(
            eventually([&] { return !window(first)->onScreen && !window(second)->onScreen; }));
    }
    /// Every window is on screen again, on the tile it had before the hiding.
    void expectAllBack() {
        ASSERT_TRUE(settled({left, first, second}));
        for (auto number : {left, first, second}) {
            EXPECT_TRUE(window(number)->onScreen) << number;
            EXPECT_TRUE(near(tile(number), tiles[number])) << number;
            EXPECT_TRUE(near(window(number)->frame, tiles[number])) << number;
        }
    }

    std::uint32_t left = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::map<std::uint32_t, CGRect> tiles;
};

TEST_F(AppLifeTest, AHiddenApplicationKeepsItsPanesAndItsWindowsComeBackWhenShown) {
    hideBrowser();
    // Hidden, the browser's windows keep their desktop and their tiles; Notes does not spread.
    ASSERT_TRUE(settled({left, first, second}));
    for (auto number : {left, first, second}) {
        EXPECT_EQ(records({number})[0].desktop, 1) << number;
        EXPECT_TRUE(near(tile(number), tiles[number])) << number;
    }
    EXPECT_TRUE(window(left)->onScreen);
    EXPECT_TRUE(near(window(left)->frame, tiles[left]));

    const auto mark = kelvo().logMessages().size();
    ASSERT_EQ(desktop().run({"unhide", std::to_string(pidOf(browser))}).status, 0);
    const auto shown = kelvo().waitForLine("com.example.browser unhidden", mark);
    ASSERT_TRUE(shown);
    expectAllBack();
    // Shown by the user, it is no business of Kelvo's to unhide it again.
    const auto lines = kelvo().logMessages();
    for (std::size_t i = mark; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].find("unhiding "), std::string::npos) << lines[i];
}

TEST_F(AppLifeTest, BringingAHiddenApplicationToTheFrontShowsItsWindowsOnTheirTiles) {
    hideBrowser();
    const auto mark = kelvo().logMessages().size();
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(browser))}).status, 0);
    EXPECT_TRUE(kelvo().waitForLine("com.example.browser unhidden", mark));
    // The activation names the window the browser has focused, one of its two.
    const auto activated = kelvo().waitForLog("event activated ", mark);
    ASSERT_TRUE(activated);
    const std::string line = kelvo().logMessages().at(*activated);
    EXPECT_TRUE(
        line == "event activated win#" + std::to_string(first) + " " + browser + " " + browser ||
        line == "event activated win#" + std::to_string(second) + " " + browser + " " + browser)
        << line;
    expectAllBack();
    EXPECT_TRUE(app(browser).request(FixtureRequest::list()).appActive.value_or(false));
}

TEST_F(AppLifeTest, WhileHiddenItsPanesStayOnTheirDesktopAcrossASwitch) {
    hideBrowser();
    ASSERT_TRUE(kelvo().command(Command::switchTo(2)).ok);
    ASSERT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 2; }));
    ASSERT_TRUE(kelvo().command(Command::switchTo(1)).ok);
    ASSERT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 1; }));
    // The browser's windows, parked by the switch away, are not among what desktop 1 shows.
    ASSERT_TRUE(settled({left}));
    // Back on desktop 1 the browser is still hidden: its windows are not what must be visible.
    EXPECT_FALSE(window(first)->onScreen);
    EXPECT_FALSE(window(second)->onScreen);
    EXPECT_TRUE(near(window(left)->frame, tiles[left]));

    ASSERT_EQ(desktop().run({"unhide", std::to_string(pidOf(browser))}).status, 0);
    EXPECT_TRUE(kelvo().waitForLine("com.example.browser unhidden"));
    expectAllBack();
    EXPECT_NE(kelvo().state().description->find("parked=[]"), std::string::npos)
        << "shown again on the desktop that is shown, its windows are out of the corner";
}

}  // namespace
}  // namespace kelvo::testing
