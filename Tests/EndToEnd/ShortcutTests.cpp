#include <tuple>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// The default shortcuts pressed on the desktop's keyboard (`kelvo-sim key`), with two windows
// of two applications tiled side by side on desktop 1.
class ShortcutTest : public EndToEndTest {
  protected:
    void SetUp() override {
        const auto a = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
        const auto b = open(browser, CGRect(600, 200, 900, 600), FixtureQuirk::plain, "Browser");
        startKelvo();
        ASSERT_TRUE(settled({a, b}));
        std::tie(left, right) = leftAndRight(a, b);
        ASSERT_FALSE(HasFailure()) << "the two windows are not side by side";
    }

    /// Presses a chord and waits until Kelvo has logged `line` and the state after it.
    void press(const std::string& chord, const std::string& line) {
        const auto mark = kelvo().logMessages().size();
        ASSERT_TRUE(key(chord)) << chord;
        const auto logged = kelvo().waitForLog(line, mark);
        ASSERT_TRUE(logged) << chord << " did not log " << line;
        ASSERT_TRUE(kelvo().waitForLog("  active=", *logged)) << chord << " logged no state";
        ASSERT_TRUE(settled({left, right})) << "the windows did not come to rest after " << chord;
    }
    std::optional<std::uint32_t> focused() { return kelvo().state().focused; }
    std::string name(std::uint32_t number) {
        return named(number, number == left ? notes : browser);
    }
    void focusLeft() { press("alt+h", "cmd focus(KelvoCore.Direction.left)"); }

    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

TEST_F(ShortcutTest, OptionDigitShowsAnotherDesktopAndParksTheWindowsOfThisOne) {
    const CGRect leftTile = tile(left);
    press("alt+2", "cmd switchTo(2)  focused=");
    EXPECT_EQ(kelvo().state().activeDesktop, 2);
    EXPECT_NE(description().find("parked=[" + std::to_string(std::min(left, right)) + " " +
                                 std::to_string(std::max(left, right)) + "]"),
              std::string::npos)
        << description();
    EXPECT_FALSE(window(left)->frame.intersects(leftTile)) << "the window is still on its tile";
    EXPECT_FALSE(everyWindowOnADisplay());

    press("alt+1", "cmd switchTo(1)  focused=");
    EXPECT_EQ(kelvo().state().activeDesktop, 1);
    EXPECT_NE(description().find("parked=[]"), std::string::npos) << description();
    EXPECT_TRUE(near(window(left)->frame, leftTile));
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(ShortcutTest, OptionShiftDigitSendsTheFocusedWindowAway) {
    focusLeft();
    ASSERT_EQ(focused(), left);
    press("alt+shift+2", "cmd throwTo(2)  focused=" + name(left));
    const auto sent = records({left, right});
    EXPECT_EQ(sent[0].desktop, 2);
    EXPECT_EQ(sent[1].desktop, 1);
    // The window left behind takes the whole desktop.
    const CGRect screen = displays().at(0).visibleFrame;
    EXPECT_GT(tile(right).size.width, screen.size.width * 0.9);
    EXPECT_TRUE(near(window(right)->frame, tile(right)));
    EXPECT_FALSE(screen.contains(CGPoint{window(left)->frame.midX(), window(left)->frame.midY()}));
}

TEST_F(ShortcutTest, OptionLettersMoveTheFocusBetweenNeighbours) {
    focusLeft();
    EXPECT_EQ(focused(), left);
    press("alt+l", "cmd focus(KelvoCore.Direction.right)  focused=" + name(left));
    EXPECT_EQ(focused(), right);
    press("alt+left", "cmd focus(KelvoCore.Direction.left)  focused=" + name(right));
    EXPECT_EQ(focused(), left);
}

TEST_F(ShortcutTest, ControlOptionLMovesTheSharedEdgeRight) {
    focusLeft();
    const CGRect before = tile(left);
    press("ctrl+alt+l", "cmd resize(KelvoCore.Direction.right)  focused=" + name(left));
    const CGRect after = tile(left);
    EXPECT_GT(after.size.width, before.size.width);
    EXPECT_EQ(after.origin.x, before.origin.x);
    EXPECT_GT(tile(right).origin.x, after.origin.x + after.size.width - 1);
    EXPECT_TRUE(near(window(left)->frame, after));
}

TEST_F(ShortcutTest, OptionShiftLSwapsTheWindowWithItsRightNeighbour) {
    focusLeft();
    const CGRect leftTile = tile(left);
    const CGRect rightTile = tile(right);
    press("alt+shift+l", "cmd moveWindow(KelvoCore.Direction.right)  focused=" + name(left));
    EXPECT_TRUE(near(tile(left), rightTile));
    EXPECT_TRUE(near(tile(right), leftTile));
    EXPECT_TRUE(near(window(left)->frame, rightTile));
}

TEST_F(ShortcutTest, OptionFFillsTheDesktopAndAgainPutsTheWindowBack) {
    focusLeft();
    const CGRect leftTile = tile(left);
    press("alt+f", "cmd toggleZoom  focused=" + name(left));
    EXPECT_NE(description().find("zoomed=[1:" + std::to_string(left) + "]"), std::string::npos)
        << description();
    EXPECT_GT(tile(left).size.width, leftTile.size.width);
    EXPECT_TRUE(near(window(left)->frame, tile(left)));

    press("alt+f", "cmd toggleZoom  focused=" + name(left));
    EXPECT_NE(description().find("zoomed=nil"), std::string::npos) << description();
    EXPECT_TRUE(near(window(left)->frame, leftTile));
}

TEST_F(ShortcutTest, OptionVFloatsTheWindowAndAgainTilesIt) {
    focusLeft();
    press("alt+v", "  floated " + name(left));
    EXPECT_TRUE(records({left})[0].floating);
    EXPECT_NE(description().find("floating=[" + std::to_string(left) + "]"), std::string::npos);
    // The other window now has the desktop to itself.
    EXPECT_GT(tile(right).size.width, displays().at(0).visibleFrame.size.width * 0.9);

    press("alt+v", "  un-floated " + name(left));
    EXPECT_FALSE(records({left})[0].floating);
    EXPECT_NE(description().find("floating=[]"), std::string::npos);
}

TEST_F(ShortcutTest, OptionShiftClickFloatsTheWindowUnderThePointer) {
    const CGRect target = tile(right);
    const auto mark = kelvo().logMessages().size();
    ASSERT_EQ(desktop()
                  .run({"click", std::to_string(target.midX()), std::to_string(target.midY()),
                        "--mods", "alt+shift"})
                  .status,
              0);
    EXPECT_TRUE(kelvo().waitForLog("⌥⇧click " + name(right) + ": floated", mark));
    EXPECT_TRUE(eventuallyState({right}, [](const auto& r) { return r.windows->at(0).floating; }));
    EXPECT_EQ(focused(), right);
}

}  // namespace
}  // namespace kelvo::testing
