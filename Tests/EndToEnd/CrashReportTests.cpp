#include <ctime>
#include <filesystem>
#include <string>

#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

namespace fs = std::filesystem;

// Someone whose Kelvo crashed a few times starts it again: the log says how often and names
// the newest reports; the next start, with nothing new, says nothing about crashes.
class CrashReportTest : public EndToEndTest {
  protected:
    KelvoProcess& start() { return startKelvo({{"HOME", home.path().string()}}); }

    TemporaryFolder home;
};

TEST_F(CrashReportTest, StartUpCountsTheCrashesSinceTheLastLaunchOnce) {
    const double now = static_cast<double>(::time(nullptr));
    for (int i = 1; i <= 4; ++i)
        addCrashReport(home.path(), "KelvoApp-" + std::to_string(i) + ".ips", now - 3600 + i * 60);
    addCrashReport(home.path(), "Other-9.ips", now - 60);

    auto& first = start();
    ASSERT_TRUE(first.waitForLog("displays at launch: "));
    const auto at = first.waitForLog(
        "Kelvo crashed 4 time(s) since the last launch - About ▸ "
        "Diagnostics ▸ Report a problem gathers them with the log");
    ASSERT_TRUE(at);
    const auto lines = first.logMessages();
    ASSERT_GE(lines.size(), *at + 5);
    EXPECT_EQ(lines[*at + 1], "  KelvoApp-4.ips");
    EXPECT_EQ(lines[*at + 2], "  KelvoApp-3.ips");
    EXPECT_EQ(lines[*at + 3], "  KelvoApp-2.ips");
    EXPECT_EQ(lines[*at + 4].rfind("displays at launch: ", 0), 0u);
    EXPECT_TRUE(fs::exists(kelvoFolder() / "last-checked"));
    EXPECT_EQ(first.quit(), 0);
    // The second run writes on in the same log.
    const std::size_t firstRun = first.logMessages().size();

    auto& second = start();
    ASSERT_TRUE(second.waitForLog("displays at launch: ", firstRun));
    const auto again = second.logMessages();
    for (std::size_t i = firstRun; i < again.size(); ++i)
        EXPECT_EQ(again[i].find("Kelvo crashed"), std::string::npos) << again[i];
    EXPECT_EQ(second.quit(), 0);
}

}  // namespace
}  // namespace kelvo::testing
