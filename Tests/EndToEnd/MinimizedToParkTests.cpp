#include <signal.h>

#include <filesystem>

#include "KelvoCore/Keys/Command.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// A window that will not stay in the parking corner is minimized to park it. When Kelvo is
// killed before it brings the window back, the next run of the same boot knows the window
// was minimized by Kelvo, not by its owner, and brings it out of the Dock.
class MinimizedToParkTest : public EndToEndTest {};

TEST_F(MinimizedToParkTest, ARelaunchAfterSigkillBringsBackAWindowMinimizedToPark) {
    writeConfig("{}");
    const auto plain = open(notes, CGRect(100, 100, 700, 500));
    auto& first = startKelvo();
    ASSERT_TRUE(settled({plain}));
    const auto stubborn = open(browser, CGRect(900, 300, 700, 500), FixtureQuirk::refusesPosition);
    ASSERT_TRUE(first.waitForLog("gave up on " + named(stubborn, browser)));
    ASSERT_TRUE(first.command(Command::switchTo(2)).ok);
    const std::string minimized = "parkMinimized=[" + std::to_string(stubborn) + "]";
    ASSERT_TRUE(eventuallyState({stubborn}, [&](const KelvoTestReply& r) {
        return r.description->find(minimized) != std::string::npos;
    }));
    ASSERT_TRUE(eventually([&] { return window(stubborn)->minimized; }));

    first.process().signal(SIGKILL);
    ASSERT_EQ(first.process().waitForExit(), 128 + SIGKILL);
    EXPECT_TRUE(window(stubborn)->minimized) << "nothing put it back";
    EXPECT_TRUE(std::filesystem::exists(kelvoFolder() / "minimized-to-park.json"));

    auto& second = startKelvo();
    EXPECT_TRUE(second.waitForLine(named(stubborn, browser) +
                                   " was minimized by an earlier run to park it - brought back"));
    EXPECT_EQ(second.quit(), 0);
    EXPECT_FALSE(window(stubborn)->minimized);
    EXPECT_TRUE(everyWindowOnADisplay());
}

}  // namespace
}  // namespace kelvo::testing
