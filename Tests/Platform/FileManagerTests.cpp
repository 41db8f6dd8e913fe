#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Platform/Foundation/FileHandle.h"
#include "Platform/Foundation/FileManager.h"

namespace fs = std::filesystem;

namespace {

class FileManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kelvo-files-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::size_t entriesIn(const fs::path& path) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    }

    FileManager& files = FileManager::defaultManager();
    fs::path folder;
};

TEST_F(FileManagerTest, AtomicWriteCreatesAndReplacesWithoutLeavingTemporaries) {
    const fs::path file = folder / "config.json";
    files.writeAtomically(file, "first");
    files.writeAtomically(file, "second, longer");
    EXPECT_EQ(files.contents(file), "second, longer");
    EXPECT_EQ(entriesIn(folder), 1u);
}

TEST_F(FileManagerTest, AtomicWriteKeepsTheFilesPermissions) {
    const fs::path file = folder / "private.json";
    files.writeAtomically(file, "a");
    ::chmod(file.c_str(), 0600);
    files.writeAtomically(file, "b");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(FileManagerTest, FailedAtomicWriteThrowsAndLeavesEverythingAsItWas) {
    EXPECT_THROW(files.writeAtomically(folder / "missing" / "config.json", "x"),
                 fs::filesystem_error);
    // A folder in the file's place cannot be replaced by a file.
    const fs::path occupied = folder / "occupied";
    fs::create_directories(occupied / "inside");
    EXPECT_THROW(files.writeAtomically(occupied, "x"), fs::filesystem_error);
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_EQ(entriesIn(folder), 1u);
}

TEST_F(FileManagerTest, CreatingFoldersWithParentsAcceptsAnExistingOneButNotAFile) {
    const fs::path deep = folder / "a" / "b" / "c";
    files.createDirectory(deep, true);
    EXPECT_NO_THROW(files.createDirectory(deep, true));
    ASSERT_TRUE(files.createFile(folder / "plain"));
    EXPECT_THROW(files.createDirectory(folder / "plain" / "sub", true), fs::filesystem_error);
    EXPECT_THROW(files.createDirectory(folder / "plain", true), fs::filesystem_error);
}

TEST_F(FileManagerTest, SizesMovesAndRemovals) {
    const fs::path file = folder / "kelvo.log";
    ASSERT_TRUE(files.createFile(file, "12345"));
    EXPECT_EQ(files.fileSize(file), 5u);
    EXPECT_EQ(files.fileSize(folder / "none"), std::nullopt);
    files.moveItem(file, folder / "kelvo.log.1");
    EXPECT_FALSE(files.fileExists(file));
    EXPECT_THROW(files.moveItem(folder / "none", file), fs::filesystem_error);
    files.removeItem(folder / "kelvo.log.1");
    EXPECT_THROW(files.removeItem(folder / "kelvo.log.1"), fs::filesystem_error);
    EXPECT_THROW(files.contents(file), fs::filesystem_error);
}

TEST_F(FileManagerTest, FileHandleAppendsToAnExistingFileOnly) {
    const fs::path file = folder / "kelvo.log";
    EXPECT_THROW(FileHandle::forWritingTo(file), fs::filesystem_error);
    ASSERT_TRUE(files.createFile(file, "one\n"));
    auto handle = FileHandle::forWritingTo(file);
    handle.seekToEnd();
    handle.write("two\n");
    handle.close();
    EXPECT_EQ(files.contents(file), "one\ntwo\n");
}

TEST_F(FileManagerTest, UserFoldersComeFromHome) {
    const char* saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("HOME", folder.c_str(), 1);
    EXPECT_EQ(files.homeDirectoryForCurrentUser(), folder);
    EXPECT_EQ(
        files.urls(SearchPathDirectory::libraryDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Library"});
    EXPECT_EQ(
        files.urls(SearchPathDirectory::desktopDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Desktop"});
    ::setenv("HOME", "", 1);
    EXPECT_FALSE(files.homeDirectoryForCurrentUser().empty());  // the account's folder
    if (saved) {
        ::setenv("HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

}  // namespace
