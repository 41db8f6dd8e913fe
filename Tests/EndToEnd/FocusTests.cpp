#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Where the keyboard goes when the focused window closes (the successor is the leftmost window
// of the desktop: claimed when another application owns it, only recorded when its own
// application will choose it), and how an activation of an application that lives on another
// desktop is followed there.
class FocusHandOverTest : public EndToEndTest {
  protected:
    /// Focuses `number` through the focus command towards it and waits until Kelvo has it.
    void focus(std::uint32_t number, Direction towards) {
        ASSERT_TRUE(kelvo().command(Command::focus(towards)).ok);
        ASSERT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == number; }));
    }
    /// Windows of the two applications opened side by side (which one Kelvo puts on the left
    /// is its business), Kelvo started and the right one focused.
    void startWithRightFocused(const std::string& oneApp, const std::string& otherApp) {
        const auto a = open(oneApp, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "One");
        const auto b = open(otherApp, CGRect(600, 200, 900, 600), FixtureQuirk::plain, "Two");
        startKelvo();
        ASSERT_TRUE(settled({a, b}));
        std::tie(left, right) = leftAndRight(a, b);
        apps = {{a, oneApp}, {b, otherApp}};
        focus(right, Direction::right);
    }
    /// The right window's application closes it; the position of Kelvo's "event destroyed".
    std::optional<std::size_t> closeRight() {
        const auto mark = kelvo().logMessages().size();
        tell(apps.at(right), about("close", right));
        return kelvo().waitForLine("event destroyed " + named(right, apps.at(right)), mark);
    }
    /// The left window has the focus, and the whole desktop.
    void expectLeftAlone() {
        EXPECT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == left; }));
        ASSERT_TRUE(settled({left}));
        EXPECT_TRUE(near(tile(left), screen())) << "the gap is not closed";
        EXPECT_TRUE(near(window(left)->frame, screen()));
    }
    bool active(const std::string& bundleID) {
        return app(bundleID).request(FixtureRequest::list()).appActive.value_or(false);
    }
    /// The window's centre is on the screen (a parked window's is not).
    bool shown(std::uint32_t number) {
        const CGRect frame = window(number)->frame;
        return screen().contains(CGPoint{frame.midX(), frame.midY()});
    }

    std::uint32_t left = 0;
    std::uint32_t right = 0;
    std::map<std::uint32_t, std::string> apps;
};

// The successor belongs to another application, which would not choose it by itself: Kelvo
// claims it, and its application comes to the front.
TEST_F(FocusHandOverTest, ClosingTheFocusedWindowClaimsTheNextOneOfAnotherApplication) {
    startWithRightFocused(notes, browser);
    ASSERT_TRUE(eventually([&] { return active(apps.at(right)); }));
    const auto gone = closeRight();
    ASSERT_TRUE(gone);
    EXPECT_TRUE(
        kelvo().waitForLine("  after the close: claiming " + named(left, apps.at(left)), *gone));
    expectLeftAlone();
    EXPECT_TRUE(eventually([&] { return active(apps.at(left)); }))
        << "the claimed window's application never came to the front";
}

// The successor belongs to the same application, which picks its next window itself: Kelvo
// only records it and moves nothing of its own.
TEST_F(FocusHandOverTest, ClosingTheFocusedWindowRecordsTheNextOneOfTheSameApplication) {
    startWithRightFocused(notes, notes);
    const auto gone = closeRight();
    ASSERT_TRUE(gone);
    EXPECT_TRUE(kelvo().waitForLine("  after the close: " + named(left, notes) +
                                        " is the likely successor - its application is choosing, "
                                        "so it is recorded rather than focused",
                                    *gone));
    expectLeftAlone();
    // Recorded, not claimed: Kelvo asked no application to come to the front for it.
    const auto lines = kelvo().logMessages();
    for (std::size_t i = *gone; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].find("activating "), std::string::npos) << lines[i];
}

// Three windows of three applications: the closed one's gap is closed by its neighbour, and the
// successor is the leftmost window of the desktop, whatever stood next to the closed one.
TEST_F(FocusHandOverTest, TheSuccessorIsTheLeftmostWindowOfTheDesktop) {
    const auto a = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    const auto b = open(browser, CGRect(600, 200, 900, 600), FixtureQuirk::plain, "Browser");
    const auto c = open(terminal, CGRect(300, 300, 600, 400), FixtureQuirk::plain, "Terminal");
    startKelvo();
    ASSERT_TRUE(settled({a, b, c}));
    const std::map<std::uint32_t, std::string> apps = {{a, notes}, {b, browser}, {c, terminal}};
    std::vector<std::uint32_t> byX = {a, b, c};
    std::sort(byX.begin(), byX.end(), [&](auto x, auto y) {
        const CGRect tx = tile(x), ty = tile(y);
        return tx.origin.x != ty.origin.x ? tx.origin.x < ty.origin.x : tx.origin.y < ty.origin.y;
    });
    const std::uint32_t leftmost = byX[0];
    const std::uint32_t closing = byX[2];
    // Its user clicks it: its application brings it to the front with the keyboard.
    tell(apps.at(closing), about("activate", closing));
    ASSERT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == closing; }));

    const auto mark = kelvo().logMessages().size();
    tell(apps.at(closing), about("close", closing));
    EXPECT_TRUE(kelvo().waitForLine(
        "  after the close: claiming " + named(leftmost, apps.at(leftmost)), mark));
    EXPECT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == leftmost; }));
    std::vector<std::uint32_t> rest;
    for (auto w : byX)
        if (w != closing) rest.push_back(w);
    ASSERT_TRUE(settled(rest));
    // The two left cover the screen between them.
    const CGRect first = tile(rest[0]), second = tile(rest[1]);
    EXPECT_TRUE(first.intersection(second).isEmpty());
    EXPECT_NEAR(first.size.width * first.size.height + second.size.width * second.size.height,
                screen().size.width * screen().size.height, 4 * screen().size.width);
}

// An application whose only window lives on desktop 2 is brought to the front while desktop 1
// is shown: Kelvo follows it to desktop 2 rather than pulling the window here.
TEST_F(FocusHandOverTest, ActivatingAnApplicationThatLivesOnAnotherDesktopFollowsItThere) {
    const auto here = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    auto& k = startKelvo();
    ASSERT_TRUE(settled({here}));
    ASSERT_TRUE(k.command(Command::switchTo(2)).ok);
    ASSERT_TRUE(eventuallyState({}, [](const auto& r) { return r.activeDesktop == 2; }));
    const auto away = open(browser, CGRect(500, 200, 800, 600), FixtureQuirk::plain, "Browser");
    ASSERT_TRUE(k.waitForLine("adopt " + named(away, browser)));
    ASSERT_TRUE(
        eventuallyState({away}, [](const auto& r) { return r.windows->at(0).desktop == 2; }));
    ASSERT_TRUE(k.command(Command::switchTo(1)).ok);
    // The switch parked the browser and takes its activations for its own doing for a while
    // ("switchParked" in the state); Notes coming to the front, as the switch asked, ends that.
    ASSERT_TRUE(eventuallyState({}, [&](const auto& r) {
        return r.activeDesktop == 1 && r.focused == here &&
               r.description->find("switchParked=[]") != std::string::npos;
    }));
    ASSERT_TRUE(settled({here, away}));
    ASSERT_FALSE(shown(away)) << "the browser is not parked";

    const auto mark = k.logMessages().size();
    ASSERT_EQ(desktop().run({"activate", std::to_string(pidOf(browser))}).status, 0);
    const auto activated =
        k.waitForLine("event activated " + named(away, browser) + " " + browser, mark);
    ASSERT_TRUE(activated);
    EXPECT_TRUE(
        k.waitForLine("  com.example.browser lives on desktop 2 - following it there "
                      "rather than bringing " +
                          named(away, browser) + " here",
                      *activated));
    EXPECT_TRUE(eventuallyState(
        {here, away}, [&](const auto& r) { return r.activeDesktop == 2 && r.focused == away; }));
    ASSERT_TRUE(settled({here, away}));
    const auto placed = records({here, away});
    EXPECT_EQ(placed[0].desktop, 1) << "the window of desktop 1 stays there";
    EXPECT_EQ(placed[1].desktop, 2) << "the browser's window was not pulled";
    EXPECT_TRUE(near(window(away)->frame, screen()));
    EXPECT_FALSE(shown(here)) << "desktop 1 is not parked";
}

}  // namespace
}  // namespace kelvo::testing
