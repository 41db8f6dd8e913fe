#include "EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Applications open, move, minimize and close their own windows while Kelvo runs; the log and
// the desktop follow.
class WindowLifeTest : public EndToEndTest {
  protected:
    static FixtureRequest about(const std::string& op, std::uint32_t window) {
        FixtureRequest request;
        request.op = op;
        request.window = window;
        return request;
    }
    std::string description() { return kelvo().state().description.value_or(""); }
    CGRect tile(std::uint32_t number) {
        const auto r = records({number});
        return r.size() == 1 && r[0].frame ? r[0].frame->rect() : CGRect::null();
    }
    double screenWidth() { return displays().at(0).visibleFrame.size.width; }
};

TEST_F(WindowLifeTest, ANewWindowIsAdoptedAndTheTilesMakeRoomForIt) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first}));
    EXPECT_GT(tile(first).size.width, screenWidth() * 0.9);

    const auto second = open(browser, CGRect(500, 200, 800, 600));
    // Before its adoption the window's application is not known yet, so the line reads "?".
    const auto created = k.waitForLog("event created win#" + std::to_string(second) + " ?");
    ASSERT_TRUE(created);
    EXPECT_TRUE(
        k.waitForLog("adopt win#" + std::to_string(second) + " com.example.browser", *created));
    ASSERT_TRUE(settled({first, second}));
    const auto placed = records({first, second});
    EXPECT_EQ(placed[1].desktop, 1);
    EXPECT_LT(tile(first).size.width, screenWidth() * 0.6);
    EXPECT_TRUE(tile(first).intersection(tile(second)).isEmpty());
    EXPECT_TRUE(near(window(second)->frame, tile(second)));
}

TEST_F(WindowLifeTest, AWindowOpenedOnAnotherDesktopStaysThere) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first}));
    ASSERT_TRUE(k.command(Command::switchTo(3)).ok);
    ASSERT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 3; }));

    const auto second = open(browser, CGRect(500, 200, 800, 600));
    ASSERT_TRUE(k.waitForLog("adopt win#" + std::to_string(second)));
    ASSERT_TRUE(settled({first, second}));
    EXPECT_EQ(records({second})[0].desktop, 3);
    EXPECT_GT(tile(second).size.width, screenWidth() * 0.9);
    EXPECT_TRUE(near(window(second)->frame, tile(second)));
}

TEST_F(WindowLifeTest, ClosingAWindowGivesItsTileBack) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    const auto second = open(browser, CGRect(500, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first, second}));

    tell(browser, about("close", second));
    EXPECT_TRUE(
        k.waitForLog("event destroyed win#" + std::to_string(second) + " com.example.browser"));
    EXPECT_TRUE(eventuallyState({second}, [](const auto& r) { return !r.windows->at(0).desktop; }));
    ASSERT_TRUE(settled({first}));
    EXPECT_GT(tile(first).size.width, screenWidth() * 0.9);
    EXPECT_TRUE(near(window(first)->frame, tile(first)));
    EXPECT_FALSE(window(second));
}

TEST_F(WindowLifeTest, AMinimizedWindowKeepsItsPaneAndIsLeftInTheDock) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    const auto second = open(browser, CGRect(500, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first, second}));

    tell(notes, about("minimize", first));
    EXPECT_TRUE(k.waitForLog("event minimized win#" + std::to_string(first) +
                             " com.example.notes - left in the Dock, pane kept, not written to"));
    EXPECT_TRUE(eventuallyState({first}, [&](const auto& r) {
        return r.description->find("inDock=[" + std::to_string(first) + "]") != std::string::npos;
    }));
    EXPECT_EQ(records({first})[0].desktop, 1);
    ASSERT_TRUE(settled({second}));
    EXPECT_TRUE(window(first)->minimized);
}

TEST_F(WindowLifeTest, AWindowItsApplicationMovesIsPutBackInItsPane) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    const auto second = open(browser, CGRect(500, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first, second}));
    const CGRect home = tile(first);

    auto move = about("move", first);
    move.x = 40;
    move.y = 400;
    tell(notes, move);
    EXPECT_TRUE(k.waitForLog("win#" + std::to_string(first) + " com.example.notes moved to "));
    EXPECT_TRUE(k.waitForLog("with no hand on the mouse - put back in its pane"));
    EXPECT_TRUE(eventually([&] { return near(window(first)->frame, home); }));
}

TEST_F(WindowLifeTest, AnApplicationHiddenByItsUserIsLeftHiddenWithItsPanes) {
    const auto first = open(notes, CGRect(100, 100, 700, 500));
    const auto second = open(browser, CGRect(500, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({first, second}));
    const CGRect home = tile(first);

    FixtureRequest hide;
    hide.op = "hide";
    tell(notes, hide);
    EXPECT_TRUE(k.waitForLog("com.example.notes hidden by the user - left hidden, its panes kept"));
    EXPECT_TRUE(eventually([&] { return !window(first)->onScreen; }));
    EXPECT_EQ(records({first})[0].desktop, 1);
    EXPECT_TRUE(near(tile(first), home));
}

// Off while it fails: beside the desktop's server the program goes on writing a window whose
// position writes are refused ("layout: wrote 1, 1 did not land" on every pass) and never logs
// the give-up line; the in-process suites give such a window up after three refusals.
TEST_F(WindowLifeTest, DISABLED_AWindowThatRefusesToMoveIsFloatedOutOfTheLayout) {
    const auto plain = open(notes, CGRect(100, 100, 700, 500));
    const auto stubborn = open(browser, CGRect(900, 300, 700, 500), FixtureQuirk::refusesPosition);
    auto& k = startKelvo();
    EXPECT_TRUE(k.waitForLog("gave up on win#" + std::to_string(stubborn) +
                             " com.example.browser after repeated refusals - floating it, out of "
                             "the layout"));
    EXPECT_TRUE(
        eventuallyState({stubborn}, [](const auto& r) { return r.windows->at(0).floating; }));
    ASSERT_TRUE(settled({plain, stubborn}));
    EXPECT_GT(tile(plain).size.width, screenWidth() * 0.9);
    EXPECT_TRUE(near(window(plain)->frame, tile(plain)));
}

}  // namespace
}  // namespace kelvo::testing
