#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Diagnostics/Diagnostics.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;
using testing::addCrashReport;

/// Start-up in test mode: the log, and so the marker, live in the test folder.
class StartupCrashCountTest : public CoordinatorFixture {
  protected:
    fs::path marker() const { return folder / "last-checked"; }
};

TEST_F(StartupCrashCountTest, OnlyReportsNewerThanTheMarkerAreCountedAndTheMarkerMovesOn) {
    writeAtomically(marker(), "1767225500.0");
    addCrashReport(folder.path(), "KelvoApp-before.ips", 1767225400);
    addCrashReport(folder.path(), "KelvoApp-at.ips", 1767225500);
    addCrashReport(folder.path(), "KelvoApp-after.ips", 1767225550);
    addCrashReport(folder.path(), "Other-after.ips", 1767225560);

    ASSERT_TRUE(start());

    const auto lines = logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "Kelvo crashed 1 time(s) since the last launch - About ▸ Diagnostics ▸ Report a "
              "problem gathers them with the log");
    EXPECT_EQ(lines[1], "  KelvoApp-after.ips");
    EXPECT_THAT(lines[2], ::testing::StartsWith("displays at launch: "));
    EXPECT_EQ(coordinator->startup.crashesSinceLastLaunch().size(), 1u);
    EXPECT_EQ(readFile(marker()), Diagnostics::markerText(Date::now()));
}

TEST_F(StartupCrashCountTest, WithoutCrashesNothingIsLoggedButTheMarkerIsWritten) {
    addCrashReport(folder.path(), "KelvoApp-old.ips", 1767225000);
    writeAtomically(marker(), "1767225100");
    ASSERT_TRUE(start());
    EXPECT_THAT(logLines().front(), ::testing::StartsWith("displays at launch: "));
    EXPECT_TRUE(coordinator->startup.crashesSinceLastLaunch().empty());
    EXPECT_EQ(Diagnostics::lastChecked(folder / "kelvo.log"), Date::now());
}

}  // namespace
}  // namespace kelvo
