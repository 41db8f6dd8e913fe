#include <signal.h>

#include <algorithm>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Applications that end while Kelvo manages their windows.
class FixtureLifeTest : public EndToEndTest {};

// An application killed by its pid closes nothing itself; its windows go with it. Kelvo hears
// each window destroyed and the application terminated, takes the windows out of
// the layout, and the windows that are left share the screen again.
TEST_F(FixtureLifeTest, AKilledApplicationsWindowsLeaveTheLayoutAndTheRestAreRetiled) {
    const auto draft = open(notes, CGRect(80, 90, 640, 480), FixtureQuirk::plain, "Draft");
    const auto news = open(browser, CGRect(400, 160, 820, 600), FixtureQuirk::plain, "News");
    const auto mail = open(browser, CGRect(500, 260, 820, 600), FixtureQuirk::plain, "Mail");
    const auto shell = open(terminal, CGRect(700, 400, 600, 380), FixtureQuirk::plain, "Shell");
    const std::vector<std::uint32_t> all = {draft, news, mail, shell};
    auto& k = startKelvo();
    ASSERT_TRUE(settled(all));
    const std::size_t from = k.logMessages().size();

    const pid_t pid = app(browser).process().pid();
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    EXPECT_EQ(app(browser).process().waitForExit(), 128 + SIGKILL);

    for (const auto gone : {news, mail}) {
        EXPECT_TRUE(k.waitForLog(
            "event destroyed win#" + std::to_string(gone) + " com.example.browser", from))
            << gone;
    }
    EXPECT_TRUE(k.waitForLog("event terminated com.example.browser", from));
    EXPECT_TRUE(eventuallyState(all, [&](const KelvoTestReply& r) {
        const auto& w = *r.windows;
        return w[0].desktop == 1 && !w[1].desktop && !w[2].desktop && w[3].desktop == 1 &&
               r.description->starts_with("desktops: 1=[" + std::to_string(draft) +
                                          "(com.example.notes) " + std::to_string(shell) +
                                          "(com.example.terminal)]\n");
    }));

    ASSERT_TRUE(settled({draft, shell}));
    const auto left = windows();
    EXPECT_TRUE(
        std::none_of(left.begin(), left.end(), [&](const auto& w) { return w.pid == pid; }));
    // Settled means each window stands on its tile; the two tiles share the screen.
    EXPECT_TRUE(tilesFillTheScreen({draft, shell}));
    EXPECT_EQ(k.quit(), 0);
}

}  // namespace
}  // namespace kelvo::testing
