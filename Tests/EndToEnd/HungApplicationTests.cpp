#include <string>
#include <vector>

#include "KelvoCore/Keys/Command.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// An application that stops answering Accessibility calls (`kelvo-sim hang`) while Kelvo
// manages its window: every call on it fails when its messaging timeout runs out, and Kelvo
// goes on moving the other windows, answering its test-mode requests in order, and ends as
// usual.
class HungApplicationTest : public EndToEndTest {
  protected:
    static constexpr const char* hung = "com.example.hung";

    void hang() { ASSERT_EQ(desktop().run({"hang", std::to_string(pidOf(hung))}).status, 0); }
    void unhang() { ASSERT_EQ(desktop().run({"unhang", std::to_string(pidOf(hung))}).status, 0); }
    /// Presses the chord and waits until Kelvo reports the desktop active.
    bool switchTo(int number) {
        if (!key("alt+" + std::to_string(number))) return false;
        return eventuallyState({}, [&](const auto& r) { return r.activeDesktop == number; });
    }
    bool onScreen(std::uint32_t number) {
        const auto found = window(number);
        return found && screen().contains(CGPoint{found->frame.midX(), found->frame.midY()});
    }
};

TEST_F(HungApplicationTest, KeysSwitchDesktopsWhileAnApplicationOnAnotherHangs) {
    const auto a = open(notes, CGRect(100, 100, 700, 500));
    const auto b = open(browser, CGRect(600, 200, 900, 600));
    startKelvo();
    ASSERT_TRUE(settled({a, b}));
    ASSERT_TRUE(kelvo().command(Command::switchTo(3)).ok);
    const auto h = open(hung, CGRect(200, 150, 600, 400));
    ASSERT_TRUE(settled({h}));
    ASSERT_TRUE(switchTo(1));
    ASSERT_TRUE(settled({a, b}));
    hang();

    ASSERT_TRUE(switchTo(2));
    EXPECT_FALSE(onScreen(a));
    EXPECT_FALSE(onScreen(b));
    ASSERT_TRUE(switchTo(1));
    EXPECT_TRUE(settled({a, b}));
    EXPECT_TRUE(kelvo().ping().ok);
    unhang();
    EXPECT_EQ(kelvo().quit(), 0);
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(HungApplicationTest, AHungWindowOnTheOutgoingDesktopHoldsNoOtherWindowBack) {
    const auto a = open(notes, CGRect(100, 100, 700, 500));
    const auto b = open(browser, CGRect(600, 200, 900, 600));
    const auto h = open(hung, CGRect(200, 150, 600, 400));
    startKelvo();
    ASSERT_TRUE(settled({a, b, h}));
    hang();

    ASSERT_TRUE(switchTo(2));
    EXPECT_FALSE(onScreen(a));
    EXPECT_FALSE(onScreen(b));
    // Each request is answered once the calls before it have had their answer or timed out.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(kelvo().ping().ok);
    ASSERT_TRUE(switchTo(1));
    EXPECT_TRUE(onScreen(a));
    EXPECT_TRUE(onScreen(b));
    EXPECT_TRUE(kelvo().state().ok);
    unhang();
    EXPECT_EQ(kelvo().quit(), 0);
    EXPECT_TRUE(everyWindowOnADisplay());
}

}  // namespace
}  // namespace kelvo::testing
