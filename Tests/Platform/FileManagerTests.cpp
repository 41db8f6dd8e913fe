#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Platform/Foundation/FileHandle.h"
#include "Platform/Foundation/FileManager.h"
#include "Support/TemporaryFolder.h"

namespace fs = std::filesystem;

namespace {

using kelvo::testing::TemporaryFolder;

std::size_t entriesIn(const fs::path& path) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(path), fs::directory_iterator()));
}

class FileManagerTest : public ::testing::Test {
  protected:
    FileManager& files = FileManager::defaultManager();
    TemporaryFolder folder;
};

TEST_F(FileManagerTest, AtomicWriteKeepsTheFilesPermissions) {
    const fs::path file = folder / "private.json";
    writeAtomically(file, "a");
    ::chmod(file.c_str(), 0600);
    writeAtomically(file, "b");
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(readFile(file), "b");
}

TEST_F(FileManagerTest, AtomicWriteOntoAFolderFailsAndLeavesEverythingAsItWas) {
    const fs::path occupied = folder / "occupied";
    fs::create_directories(occupied / "inside");
    EXPECT_THROW(writeAtomically(occupied, "x"), FileError);
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST_F(FileManagerTest, CreatingFoldersWithParentsAcceptsAnExistingOneButNotAFile) {
    const fs::path deep = folder / "a" / "b" / "c";
    files.createDirectory(deep, true);
    EXPECT_NO_THROW(files.createDirectory(deep, true));
    EXPECT_THROW(files.createDirectory(deep, false), FileError);
    ASSERT_TRUE(files.createFile(folder / "plain"));
    EXPECT_THROW(files.createDirectory(folder / "plain" / "sub", true), FileError);
    EXPECT_THROW(files.createDirectory(folder / "plain", true), FileError);
}

TEST_F(FileManagerTest, SizesMovesAndRemovals) {
    const fs::path file = folder / "kelvo.log";
    ASSERT_TRUE(files.createFile(file, "12345"));
    EXPECT_EQ(files.fileSize(file), 5u);
    EXPECT_EQ(files.fileSize(folder / "none"), std::nullopt);
    ASSERT_TRUE(files.createFile(folder / "kelvo.log.1"));
    EXPECT_THROW(files.moveItem(file, folder / "kelvo.log.1"), FileError);  // no silent replace
    files.removeItem(folder / "kelvo.log.1");
    files.moveItem(file, folder / "kelvo.log.1");
    EXPECT_FALSE(files.fileExists(file));
    EXPECT_EQ(readFile(folder / "kelvo.log.1"), "12345");
    EXPECT_THROW(files.moveItem(folder / "none", file), FileError);
    files.removeItem(folder / "kelvo.log.1");
    EXPECT_THROW(files.removeItem(folder / "kelvo.log.1"), FileError);
}

TEST_F(FileManagerTest, FileHandleAppendsToAnExistingFileOnly) {
    const fs::path file = folder / "kelvo.log";
    EXPECT_THROW(FileHandle::forWritingTo(file), FileError);
    ASSERT_TRUE(files.createFile(file, "one\n"));
    auto handle = FileHandle::forWritingTo(file);
    handle.seekToEnd();
    handle.write("two\n");
    handle.close();
    EXPECT_EQ(readFile(file), "one\ntwo\n");
}

TEST_F(FileManagerTest, UserFoldersComeFromHome) {
    const char* saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("HOME", folder.path().c_str(), 1);
    EXPECT_EQ(files.homeDirectoryForCurrentUser(), folder.path());
    EXPECT_EQ(
        files.urls(SearchPathDirectory::libraryDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Library"});
    EXPECT_EQ(
        files.urls(SearchPathDirectory::desktopDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Desktop"});
    if (saved) {
        ::setenv("HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

}  // namespace
