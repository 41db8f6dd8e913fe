#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

/// A configuration the running system cannot save: the file is replaced by a folder of its
/// name after start-up.
class SaveFailureTest : public CoordinatorFixture {
  protected:
    void SetUp() override {
        environment["KELVO_LOG"] = "1";
        window(1, CGRect(0, 25, 800, 600));
        ASSERT_TRUE(start());
        settle();
        markLog();
    }
    std::filesystem::path configFile() const { return coordinator->configuration.store().url(); }
    void blockTheFile() {
        std::filesystem::remove(configFile());
        std::filesystem::create_directory(configFile());
    }
    void unblockTheFile() { std::filesystem::remove(configFile()); }
    void changeDesktopCount(std::int64_t count) {
        coordinator->configuration.store().update([count](Config& c) { c.desktopCount = count; });
    }
    std::string expectedLine() const {
        return "could not save the configuration to " + configFile().string() +
               ": The file “config.json” couldn’t be saved because a folder of that name is in "
               "the way.";
    }
    /// The failures logged since the last look.
    int failureLines() {
        int count = 0;
        for (const std::string& line : newLogLines()) {
            if (line.starts_with("could not save the configuration to ")) ++count;
        }
        markLog();
        return count;
    }
};

TEST_F(SaveFailureTest, AFailedSaveIsLoggedAndCopiedToStandardError) {
    blockTheFile();
    changeDesktopCount(5);
    settle();
    EXPECT_THAT(newLogLines(), Contains(expectedLine()));
    EXPECT_THAT(standardError(), HasSubstr("[kelvo] " + expectedLine() + "\n"));
    EXPECT_EQ(coordinator->configuration.config().desktopCount, 5);
}

TEST_F(SaveFailureTest, EachFailedAttemptIsLoggedOnceAndASuccessNotAtAll) {
    blockTheFile();
    changeDesktopCount(5);
    settle();
    changeDesktopCount(6);
    settle();
    EXPECT_EQ(failureLines(), 2);
    unblockTheFile();
    changeDesktopCount(7);
    settle();
    EXPECT_EQ(failureLines(), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(configFile()));
}

TEST_F(SaveFailureTest, AChangeThatCannotBeSavedAtQuitIsLoggedBeforeTheProcessEnds) {
    blockTheFile();
    changeDesktopCount(5);  // quitting before the delayed write runs
    coordinator->startup.signalReceived(SIGTERM);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_THAT(newLogLines(), Contains(expectedLine()));
    EXPECT_THAT(standardError(), HasSubstr(expectedLine()));
}

TEST_F(SaveFailureTest, AnEarlierFailureIsTriedAgainAndLoggedAgainAtQuit) {
    blockTheFile();
    changeDesktopCount(5);
    settle();
    ASSERT_EQ(failureLines(), 1);
    coordinator->startup.quitFromMenu();
    EXPECT_GE(failureLines(), 1);
    EXPECT_EQ(exitStatus, 0);
}

TEST_F(SaveFailureTest, AQuitThatSavesLogsNoFailure) {
    changeDesktopCount(5);
    coordinator->startup.quitFromMenu();
    EXPECT_EQ(failureLines(), 0);
    EXPECT_THAT(standardError(), Not(HasSubstr("could not save")));
    EXPECT_TRUE(std::filesystem::is_regular_file(configFile()));
}

}  // namespace
}  // namespace kelvo
