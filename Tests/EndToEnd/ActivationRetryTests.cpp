#include <regex>
#include <string>

#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/EndToEnd/OwnInterface.h"

namespace kelvo::testing {
namespace {

// A focus request brings its window's application to the front and, while that has not taken,
// tries twice more, 0.15 s apart. Whoever puts another application in front meanwhile keeps
// it there: a person switching, or Kelvo itself when one of its windows opens.
class ActivationRetryTest : public EndToEndTest {
  protected:
    ActivationRetryTest() { writeConfig(R"({"guideSeen":true})"); }

    /// Notes and the browser side by side, Kelvo started and the browser's window focused with
    /// the browser in front.
    void startWithBrowserFocused() {
        const auto note = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
        const auto page = open(browser, CGRect(600, 200, 900, 600), FixtureQuirk::plain, "Page");
        startKelvo();
        ASSERT_TRUE(settled({note, page}));
        const bool notesOnTheLeft = leftAndRight(note, page).first == note;
        towardsNotes = notesOnTheLeft ? "alt+h" : "alt+l";
        ASSERT_TRUE(
            kelvo()
                .command(Command::focus(notesOnTheLeft ? Direction::right : Direction::left))
                .ok);
        ASSERT_TRUE(eventuallyState({}, [&](const auto& r) { return r.focused == page; }));
        ASSERT_TRUE(eventually([&] { return frontApplication() == browser; }));
    }
    /// The number of the first request that activates Notes at `from` or later, and the
    /// position of its first attempt; an empty number when none came.
    std::pair<std::string, std::size_t> notesRequest(std::size_t from) {
        const auto at =
            kelvo().waitForLog("activating com.example.notes (attempt 1, request ", from);
        if (!at) return {"", from};
        std::smatch number;
        const std::string line = kelvo().logMessages()[*at];
        if (!std::regex_search(line, number, std::regex("request (\\d+)\\)"))) return {"", *at};
        return {number[1], *at};
    }
    /// How the retries of that request ended: the line that gives them up, or the second
    /// attempt; empty when neither came.
    std::string retriesEnd(const std::string& request, std::size_t from) {
        const std::string givenUp = givenUpLine(request, "");
        const auto at = kelvo().waitForMessage(from, [&](const std::string& m) {
            return m.starts_with(givenUp) || m == attemptLine(2, request);
        });
        return at ? kelvo().logMessages()[*at] : "";
    }
    std::string pidText(const std::string& bundleID) { return std::to_string(pidOf(bundleID)); }
    /// The log's lines for Notes' activation, among the decisions of the command that asked.
    static std::string attemptLine(int attempt, const std::string& request) {
        return "  activating com.example.notes (attempt " + std::to_string(attempt) + ", request " +
               request + ")";
    }
    static std::string givenUpLine(const std::string& request, const std::string& chosen) {
        return "  activation of com.example.notes given up (request " + request + "): " + chosen;
    }

    std::string towardsNotes;
};

// The desktop brings the terminal forward right after Kelvo's first attempt asked Notes to the
// front: the person's switch certainly falls before the retry 0.15 s later.
TEST_F(ActivationRetryTest, AnApplicationBroughtToTheFrontRightAfterAFocusKeyStaysInFront) {
    startWithBrowserFocused();
    ASSERT_EQ(desktop().run({"activate", pidText(terminal), "--after", pidText(notes)}).status, 0);
    const auto mark = kelvo().logMessages().size();
    ASSERT_TRUE(key(towardsNotes));
    const auto [request, attempt] = notesRequest(mark);
    ASSERT_FALSE(request.empty()) << "the focus key did not ask Notes to the front";
    EXPECT_EQ(retriesEnd(request, attempt),
              givenUpLine(request, "com.example.terminal came to the front"));
    EXPECT_EQ(frontApplication(), terminal);
}

// The desktop drops every request to bring Notes forward: nothing else came to the front, so
// the activation is simply not taking and is tried twice more.
TEST_F(ActivationRetryTest, AnActivationTheDesktopDropsIsTriedTwiceMore) {
    startWithBrowserFocused();
    ASSERT_EQ(desktop().run({"decline-activation", pidText(notes), "yes"}).status, 0);
    const auto mark = kelvo().logMessages().size();
    ASSERT_TRUE(key(towardsNotes));
    const auto [request, attempt] = notesRequest(mark);
    ASSERT_FALSE(request.empty());
    const auto second = kelvo().waitForLine(attemptLine(2, request), attempt);
    ASSERT_TRUE(second);
    EXPECT_TRUE(kelvo().waitForLine(attemptLine(3, request), *second));
    EXPECT_EQ(frontApplication(), browser);
    for (const auto& line : kelvo().logMessages())
        EXPECT_EQ(line.find("activation of com.example.notes given up"), std::string::npos) << line;
}

// The README's steps, with the settings window open behind the browser: Return in the launcher
// goes to Notes, and Kelvo comes back to the front with its window right after the first
// attempt, as it does when that window opens or is clicked. The desktop brings Kelvo forward
// then, so it certainly does before the retry 0.15 s later; the window keeps the keys.
TEST_F(ActivationRetryTest,
       KelvoComingToTheFrontWithItsSettingsWindowRightAfterReturnKeepsTheKeys) {
    startWithBrowserFocused();
    OwnInterface ui(desktop(), kelvo().pid());
    ASSERT_TRUE(ui.pickFromStatusMenu("Settings…"));
    ASSERT_TRUE(ui.awaitIdentifier("tab.focus"));
    ASSERT_TRUE(eventually([&] { return frontApplication() != browser; }));
    const std::string kelvoApp = frontApplication();
    ASSERT_EQ(desktop().run({"activate", pidText(browser)}).status, 0);
    ASSERT_TRUE(eventually([&] { return frontApplication() == browser; }));

    ASSERT_TRUE(key("alt+space"));
    ASSERT_TRUE(ui.awaitLabel("Notes"));
    ASSERT_EQ(desktop().run({"type", "not"}).status, 0);
    ASSERT_TRUE(ui.await([](const auto& e) { return e.value == "not"; }));
    ASSERT_EQ(desktop()
                  .run({"activate", std::to_string(kelvo().pid()), "--after", pidText(notes)})
                  .status,
              0);
    const auto mark = kelvo().logMessages().size();
    ASSERT_TRUE(key("return"));
    const auto [request, attempt] = notesRequest(mark);
    ASSERT_FALSE(request.empty()) << "Return did not ask Notes to the front";
    EXPECT_EQ(retriesEnd(request, attempt), givenUpLine(request, kelvoApp + " came to the front"));

    ASSERT_TRUE(key("cmd+k"));
    ASSERT_EQ(desktop().run({"type", "app name"}).status, 0);
    EXPECT_TRUE(ui.awaitLabel("Focused app in the menu bar")) << "the search did not get the keys";
    EXPECT_EQ(frontApplication(), kelvoApp);
}

}  // namespace
}  // namespace kelvo::testing
