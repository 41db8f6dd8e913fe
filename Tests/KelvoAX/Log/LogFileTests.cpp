#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Base/Foundation/FileManager.h"
#include "Base/Foundation/ManualClock.h"
#include "KelvoAX/Log/LogFile.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"
#include "Support/Base/ThreadCount.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TemporaryFolder;

constexpr std::int64_t fourMiB = 4194304;
// What every line of these tests starts with: the manual clock's start in UTC.
constexpr std::string_view startStamp = "2026-01-01 00:00:00.000  ";

std::string contentsOrNothing(const fs::path& path) {
    return FileManager::defaultManager().fileExists(path) ? readFile(path) : "<none>";
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "a line without its line feed";
    return lines;
}

void fill(const fs::path& path, std::size_t bytes, char with = 'x') {
    testing::writeText(path, std::string(bytes, with));
}

class LogFileTest : public ::testing::Test {
  protected:
    fs::path logURL() const { return folder / "Logs" / "kelvo.log"; }

    ScopedEnvironment zone{"TZ", "UTC0"};
    ManualClock clock;
    TemporaryFolder folder;
};

TEST_F(LogFileTest, LimitsFollowTheSizeLimit) {
    struct Row {
        std::int64_t given, maximum, buffer;
    };
    // Both ends of each limit and one past: the smallest limit 1024, the buffer's 16384.
    for (const Row row :
         {Row{100, 1024, 1024}, Row{1023, 1024, 1024}, Row{1024, 1024, 1024}, Row{1025, 1025, 1025},
          Row{2000, 2000, 2000}, Row{16383, 16383, 16383}, Row{16384, 16384, 16384},
          Row{16385, 16385, 16384}, Row{fourMiB, fourMiB, 16384}}) {
        const LogFile log(logURL(), row.given);
        EXPECT_EQ(log.maximumBytes(), row.maximum) << row.given;
        EXPECT_EQ(log.bufferLimit(), row.buffer) << row.given;
    }
    EXPECT_EQ(LogFile(logURL(), fourMiB).previousURL(), folder / "Logs" / "kelvo.log.1");
}

TEST_F(LogFileTest, StandardLocationIsInTheUsersLibrary) {
    const ScopedEnvironment home("HOME", folder.path().string());
    EXPECT_EQ(LogFile::standardURL(), folder / "Library" / "Logs" / "Kelvo" / "kelvo.log");
}

TEST_F(LogFileTest, LinesCarryTheTimeTwoSpacesTheMessageAndALineFeed) {
    const LogFile log(logURL(), fourMiB);
    log.write("adopted win#812 — Safari → desktop 2");
    clock.advance(1.25);
    log.write("second");
    log.flush();
    EXPECT_EQ(readFile(logURL()),
              "2026-01-01 00:00:00.000  adopted win#812 — Safari → desktop 2\n"
              "2026-01-01 00:00:01.250  second\n");
}

TEST_F(LogFileTest, AQuietLogIsWrittenOnceHalfASecondAfterItsFirstLine) {
    const LogFile log(logURL(), fourMiB);
    log.write("one");
    clock.advance(0.1);
    log.write("two");
    log.write("three");
    clock.advance(0.399);
    EXPECT_EQ(contentsOrNothing(logURL()), "<none>");  // not even prepared yet
    clock.advance(0.001);
    EXPECT_EQ(linesOf(readFile(logURL())).size(), 3u);
    EXPECT_EQ(clock.pendingCount(), 0u);
    log.write("four");  // a new run starts a new delay
    clock.advance(0.499);
    EXPECT_EQ(linesOf(readFile(logURL())).size(), 3u);
    clock.advance(0.001);
    EXPECT_EQ(linesOf(readFile(logURL())).size(), 4u);
}

TEST_F(LogFileTest, ReachingTheBufferLimitWritesAtOnce) {
    const LogFile log(logURL(), 64 * 1024);
    const std::string message(1000, 'm');  // 1026 bytes a line
    for (int i = 0; i < 15; ++i)
        log.write(message);
    clock.runUntilIdle();
    EXPECT_EQ(contentsOrNothing(logURL()), "<none>");  // 15390 bytes: below 16384
    log.write(message);
    clock.runUntilIdle();
    EXPECT_EQ(linesOf(readFile(logURL())).size(), 16u);
}

TEST_F(LogFileTest, FlushWritesWhatIsGatheredAndOnlyThat) {
    const LogFile log(logURL(), fourMiB);
    log.flush();
    EXPECT_EQ(contentsOrNothing(logURL()), "<none>");
    log.write("pending");
    log.flush();  // before the delayed write-out, which then finds nothing
    EXPECT_EQ(readFile(logURL()), std::string(startStamp) + "pending\n");
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(LogFile::writeOutDelay);
    EXPECT_EQ(readFile(logURL()), std::string(startStamp) + "pending\n");
}

TEST_F(LogFileTest, RotatesOnlyPastTheLimitAndNeverSplitsALine) {
    // Each row: bytes already in the file, the message, and what the two files hold after.
    struct Row {
        std::size_t onDisk;
        std::size_t message;
        bool rotated;
    };
    const std::size_t overhead = startStamp.size() + 1;
    const Row rows[] = {
        {fourMiB - overhead - 10, 10, false},  // exactly at the limit: kept
        {fourMiB - overhead - 10, 11, true},   // one byte past it
        {fourMiB, 1, true},
    };
    for (const Row& row : rows) {
        fs::create_directories(logURL().parent_path());
        fill(logURL(), row.onDisk);
        fill(folder / "Logs" / "kelvo.log.1", 3, 'p');  // an earlier generation
        {
            const LogFile log(logURL(), fourMiB);
            log.write(std::string(row.message, 'n'));
            log.flush();
        }
        const std::string line = std::string(startStamp) + std::string(row.message, 'n') + "\n";
        const std::string current = readFile(logURL());
        const std::string previous = readFile(folder / "Logs" / "kelvo.log.1");
        if (row.rotated) {
            EXPECT_EQ(current, line) << row.onDisk << "+" << row.message;
            EXPECT_EQ(previous, std::string(row.onDisk, 'x'));
        } else {
            EXPECT_EQ(current.size(), static_cast<std::size_t>(fourMiB));
            EXPECT_EQ(current.substr(row.onDisk), line);
            EXPECT_EQ(previous, "ppp");
        }
        fs::remove_all(logURL().parent_path());
    }
}

TEST_F(LogFileTest, AnOversizedLineLandsWholeWithoutEmptyingThePreviousGeneration) {
    fs::create_directories(logURL().parent_path());
    fill(folder / "Logs" / "kelvo.log.1", 3, 'p');
    const LogFile log(logURL(), 1024);
    const std::string huge(3000, 'h');
    log.write(huge);  // into a fresh, empty file: nothing to rotate away
    log.flush();
    EXPECT_EQ(readFile(folder / "Logs" / "kelvo.log.1"), "ppp");
    EXPECT_EQ(readFile(logURL()), std::string(startStamp) + huge + "\n");
    log.write(huge);  // now the file holds a line: it becomes the previous generation
    log.flush();
    EXPECT_EQ(readFile(folder / "Logs" / "kelvo.log.1"), std::string(startStamp) + huge + "\n");
    EXPECT_EQ(readFile(logURL()), std::string(startStamp) + huge + "\n");
}

TEST_F(LogFileTest, AnExistingFileCountsTowardsTheLimit) {
    fs::create_directories(logURL().parent_path());
    fill(logURL(), 1000);
    const LogFile log(logURL(), 1024);
    log.write("this line takes the file past 1024 bytes");
    log.flush();
    EXPECT_EQ(readFile(folder / "Logs" / "kelvo.log.1"), std::string(1000, 'x'));
    EXPECT_EQ(linesOf(readFile(logURL())).size(), 1u);
}

TEST_F(LogFileTest, ThousandsOfLinesFromSeveralThreadsSurviveARotationInOrder) {
    constexpr int threads = 4;
    constexpr int perThread = 2500;
    const LogFile log(logURL(), 400 * 1024);  // the 10000 lines take about 420 KiB
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([&log, t] {
            for (int i = 0; i < perThread; ++i) {
                log.write("writer " + std::to_string(t) + " line " + std::to_string(i));
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    log.flush();
    const std::string previous = readFile(log.previousURL());
    const std::string current = readFile(logURL());
    EXPECT_LE(previous.size(), 400u * 1024);
    EXPECT_FALSE(current.empty());
    std::vector<int> next(threads, 0);
    for (const auto& text : {previous, current}) {
        for (const std::string& line : linesOf(text)) {
            ASSERT_EQ(line.rfind(startStamp, 0), 0u) << line;
            int t = -1;
            int i = -1;
            ASSERT_EQ(std::sscanf(line.c_str() + startStamp.size(), "writer %d line %d", &t, &i),
                      2);
            EXPECT_EQ(i, next[t]++) << "writer " << t;
        }
    }
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ(next[t], perThread) << "writer " << t;
}

TEST_F(LogFileTest, ADeletedFolderLosesOneWriteAndIsMadeAgainForTheNext) {
    const LogFile log(logURL(), fourMiB);
    log.write("first");
    log.flush();
    fs::remove_all(logURL().parent_path());
    log.write("lost");
    log.flush();
    EXPECT_FALSE(fs::exists(logURL().parent_path()));
    log.write("after");
    log.flush();
    EXPECT_EQ(readFile(logURL()), std::string(startStamp) + "after\n");
}

TEST_F(LogFileTest, AnUnwritableFolderIsAbsorbed) {
    fill(folder / "not-a-folder", 1);
    const LogFile log(folder / "not-a-folder" / "Logs" / "kelvo.log", fourMiB);
    EXPECT_NO_THROW({
        log.write("nowhere to go");
        log.flush();
        log.write("still nowhere");
        clock.advance(1);
    });
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(LogFileTest, ADroppedLogLeavesItsDelayedWriteHarmless) {
    {
        const LogFile log(logURL(), fourMiB);
        log.write("never flushed");
        clock.runUntilIdle();
    }
    clock.advance(1);
    EXPECT_EQ(contentsOrNothing(logURL()), "<none>");
}

// The log on its own thread, as the program runs it: nothing waits but `flush`.
TEST(LogFileOnItsQueue, LeavesNoThreadBehindWhenDropped) {
    TemporaryFolder folder;
    const std::size_t before = testing::threadCount();
    {
        const LogFile log(folder / "kelvo.log", fourMiB);
        log.write("a line whose write-out waits half a second");
        log.flush();
        log.write("and one left waiting");
    }
    EXPECT_LE(testing::threadCount(), before);
}

TEST(LogFileOnItsQueue, KeepsEveryLineWrittenFromSeveralThreads) {
    TemporaryFolder folder;
    const LogFile log(folder / "kelvo.log", fourMiB);
    constexpr int threads = 4;
    constexpr int perThread = 2000;
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([&log, t] {
            for (int i = 0; i < perThread; ++i)
                log.write(std::to_string(t) + ":" + std::to_string(i));
        });
    }
    for (auto& writer : writers)
        writer.join();
    log.flush();
    EXPECT_EQ(linesOf(readFile(folder / "kelvo.log")).size(),
              static_cast<std::size_t>(threads * perThread));
}

}  // namespace
}  // namespace kelvo
