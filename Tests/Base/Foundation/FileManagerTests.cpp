#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "Base/Foundation/FileHandle.h"
#include "Base/Foundation/FileManager.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"

namespace fs = std::filesystem;

namespace {

using kelvo::testing::entriesIn;
using kelvo::testing::ScopedEnvironment;
using kelvo::testing::TemporaryFolder;

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

TEST_F(FileManagerTest, AReadWithALimitRefusesALargerFile) {
    const fs::path file = folder / "sized";
    writeAtomically(file, std::string(100, 'x'));
    EXPECT_EQ(readFile(file, 100).size(), 100u);
    EXPECT_EQ(readFile(file).size(), 100u);
    try {
        readFile(file, 99);
        ADD_FAILURE() << "a file past the limit was read";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::tooLarge);
    }
    // Far larger than a settings file, with nothing of it on the disk.
    fs::resize_file(file, 256u << 20);
    EXPECT_THROW(readFile(file, 100), FileError);
}

TEST_F(FileManagerTest, OneFileIsKnownThroughLinksAndOtherSpellings) {
    const fs::path file = folder / "config.json";
    fs::create_directories(folder / "real");
    EXPECT_TRUE(isSameFile(folder / "real" / "config.json", folder / "real" / "." / "config.json"))
        << "a file not there yet is its place";
    writeAtomically(file, "{}");
    fs::create_symlink(file, folder / "link.json");
    fs::create_directory_symlink(folder.path(), folder / "again");
    fs::create_hard_link(file, folder / "hard.json");
    EXPECT_TRUE(isSameFile(folder / "link.json", file));
    EXPECT_TRUE(isSameFile(folder / "again" / "config.json", file));
    EXPECT_TRUE(isSameFile(folder / "real" / ".." / "config.json", file));
    EXPECT_TRUE(isSameFile(folder / "hard.json", file));
    writeAtomically(folder / "real" / "config.json", "{}");
    EXPECT_FALSE(isSameFile(folder / "real" / "config.json", file));
    EXPECT_FALSE(isSameFile(folder / "missing.json", file));
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
    const ScopedEnvironment home("HOME", folder.path().string());
    EXPECT_EQ(files.homeDirectoryForCurrentUser(), folder.path());
    EXPECT_EQ(
        files.urls(SearchPathDirectory::libraryDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Library"});
    EXPECT_EQ(
        files.urls(SearchPathDirectory::desktopDirectory, SearchPathDomainMask::userDomainMask),
        std::vector<fs::path>{folder / "Desktop"});
}

TEST_F(FileManagerTest, CopiesLeaveTheOriginalAndRefuseToReplace) {
    ASSERT_TRUE(files.createFile(folder / "a.log", "one"));
    files.copyItem(folder / "a.log", folder / "b.log");
    EXPECT_EQ(readFile(folder / "a.log"), "one");
    EXPECT_EQ(readFile(folder / "b.log"), "one");
    ASSERT_TRUE(files.createFile(folder / "a.log", "two"));
    EXPECT_THROW(files.copyItem(folder / "a.log", folder / "b.log"), FileError);
    EXPECT_EQ(readFile(folder / "b.log"), "one");
    EXPECT_THROW(files.copyItem(folder / "none", folder / "c.log"), FileError);
    EXPECT_FALSE(files.fileExists(folder / "c.log"));

    files.createDirectory(folder / "tree" / "inner", true);
    ASSERT_TRUE(files.createFile(folder / "tree" / "inner" / "leaf", "x"));
    files.copyItem(folder / "tree", folder / "copy");
    EXPECT_EQ(readFile(folder / "copy" / "inner" / "leaf"), "x");
}

TEST_F(FileManagerTest, ListingIsOneLevelDeepAndOrderedByName) {
    for (const char* name : {"b", "a", "c"})
        ASSERT_TRUE(files.createFile(folder / name));
    files.createDirectory(folder / "d" / "deeper", true);
    EXPECT_EQ(files.contentsOfDirectory(folder.path()),
              (std::vector<fs::path>{folder / "a", folder / "b", folder / "c", folder / "d"}));
    EXPECT_THROW(files.contentsOfDirectory(folder / "none"), FileError);
    EXPECT_THROW(files.contentsOfDirectory(folder / "a"), FileError);
}

TEST_F(FileManagerTest, ModificationDatesWithTheirFraction) {
    const fs::path file = folder / "report.ips";
    ASSERT_TRUE(files.createFile(file));
    const timespec times[2] = {{1767225600, 250000000}, {1767225600, 250000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(files.contentModificationDate(file), Date{1767225600.25});
    EXPECT_EQ(files.contentModificationDate(folder / "none"), std::nullopt);
}

}  // namespace
