#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/ManualClock.h"
#include "Base/JSON/JSONDecoder.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
using testing::writeText;

Config withDesktops(std::int64_t count) {
    Config config = Config::defaults();
    config.desktopCount = count;
    return config;
}

// The store as the coordinator makes it: writes go to the main queue 0.4 s later, here on
// virtual time.
class ConfigStoreTest : public ::testing::Test {
  protected:
    fs::path configURL() const { return folder / ".config" / "kelvo" / "config.json"; }

    std::unique_ptr<ConfigStore> makeStore() {
        auto store = std::make_unique<ConfigStore>(configURL(), ConfigStore::mainQueueScheduler());
        store->onChange = [this](const Config& config) { changes.push_back(config.desktopCount); };
        store->onWrite = [this](const ConfigStore::Error& error) { writes.push_back(error); };
        return store;
    }
    std::int64_t desktopsOnDisk() const { return Config::load(configURL()).desktopCount; }

    ManualClock clock;
    TemporaryFolder folder;
    std::vector<std::int64_t> changes;
    std::vector<ConfigStore::Error> writes;
};

TEST_F(ConfigStoreTest, AnEqualConfigurationChangesNothingAtAll) {
    const auto store = makeStore();
    store->set(Config::defaults());
    store->update([](Config&) {});
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(clock.pendingCount(), 0u);
    store->flush();
    EXPECT_EQ(store->writeCount(), 0);
    EXPECT_FALSE(fs::exists(configURL()));
}

TEST_F(ConfigStoreTest, ARunOfChangesIsWrittenOnce0Point4SecondsAfterItsFirst) {
    const auto store = makeStore();
    store->set(withDesktops(4));
    EXPECT_EQ(store->config().desktopCount, 4);  // at once, before any write
    clock.advance(0.1);
    store->set(withDesktops(5));
    clock.advance(0.2);
    store->update([](Config& config) { config.desktopCount = 6; });
    EXPECT_EQ(changes, (std::vector<std::int64_t>{4, 5, 6}));
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(0.099);
    EXPECT_FALSE(fs::exists(configURL()));
    clock.advance(0.001);
    EXPECT_EQ(desktopsOnDisk(), 6);
    EXPECT_EQ(store->writeCount(), 1);
    EXPECT_EQ(writes.size(), 1u);
    EXPECT_FALSE(writes.front());
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(ConfigStoreTest, FlushWritesAtOnceAndOnlyWhenSomethingIsPending) {
    const auto store = makeStore();
    store->flush();
    EXPECT_EQ(store->writeCount(), 0);
    store->set(withDesktops(3));
    store->flush();
    EXPECT_EQ(desktopsOnDisk(), 3);
    EXPECT_EQ(store->writeCount(), 1);
    store->flush();
    EXPECT_EQ(store->writeCount(), 1);
}

TEST_F(ConfigStoreTest, AWriteScheduledBeforeAFlushFindsItselfStale) {
    const auto store = makeStore();
    store->set(withDesktops(3));  // its write is due at 0.4
    clock.advance(0.1);
    store->flush();
    clock.advance(0.1);
    store->set(withDesktops(7));  // a fresh write, due at 0.6
    clock.advance(0.2);
    EXPECT_EQ(store->writeCount(), 1);  // the first item ran at 0.4 and did nothing
    EXPECT_EQ(desktopsOnDisk(), 3);
    clock.advance(0.2);
    EXPECT_EQ(store->writeCount(), 2);
    EXPECT_EQ(desktopsOnDisk(), 7);
}

TEST_F(ConfigStoreTest, ADroppedStoreNeverWritesItsPendingChange) {
    {
        const auto store = makeStore();
        store->set(withDesktops(2));
    }
    clock.advance(1);
    EXPECT_FALSE(fs::exists(configURL()));
    EXPECT_TRUE(writes.empty());
}

TEST_F(ConfigStoreTest, WithoutASchedulerEveryChangeIsWrittenBeforeSetReturns) {
    ConfigStore store(configURL());
    store.set(withDesktops(2));
    EXPECT_EQ(desktopsOnDisk(), 2);
    store.set(withDesktops(3));
    EXPECT_EQ(desktopsOnDisk(), 3);
    EXPECT_EQ(store.writeCount(), 2);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(ConfigStoreTest, AMissingFileIsNoFailureAndTheFirstWriteMakesItsFolders) {
    const auto store = makeStore();
    EXPECT_FALSE(store->loadFailed());
    EXPECT_FALSE(store->loadError());
    EXPECT_EQ(store->config(), Config::defaults());
    store->set(withDesktops(5));
    store->flush();
    EXPECT_EQ(desktopsOnDisk(), 5);
    EXPECT_FALSE(fs::exists(store->unreadableURL()));
}

TEST_F(ConfigStoreTest, AnExistingFileIsLoaded) {
    writeText(configURL(), R"({"desktopCount": 4})");
    const auto store = makeStore();
    EXPECT_EQ(store->config().desktopCount, 4);
    EXPECT_FALSE(store->loadFailed());
}

TEST_F(ConfigStoreTest, AnUnreadableFileGivesDefaultsAndIsKeptBesideTheFirstWrite) {
    const std::string handEdited = R"({"desktopCount": 4,, "gaps": {"inner": 8}})";
    writeText(configURL(), handEdited);
    writeText(folder / ".config" / "kelvo" / "config.json.unreadable", "an older copy");
    const auto store = makeStore();
    EXPECT_EQ(store->config(), Config::defaults());
    EXPECT_TRUE(store->loadFailed());
    ASSERT_TRUE(store->loadError());
    EXPECT_THROW(std::rethrow_exception(store->loadError()), DecodingError);
    EXPECT_FALSE(ConfigStore::describe(store->loadError()).empty());
    clock.advance(1);
    EXPECT_EQ(readFile(configURL()), handEdited);  // untouched until the first write

    store->set(withDesktops(6));
    store->flush();
    EXPECT_EQ(desktopsOnDisk(), 6);
    EXPECT_EQ(readFile(store->unreadableURL()), handEdited);
    EXPECT_EQ(store->unreadableURL(), folder / ".config" / "kelvo" / "config.json.unreadable");
    EXPECT_FALSE(store->loadFailed());
    EXPECT_FALSE(store->loadError());

    store->set(withDesktops(7));  // later writes leave the kept copy alone
    store->flush();
    EXPECT_EQ(readFile(store->unreadableURL()), handEdited);
}

TEST_F(ConfigStoreTest, AFileThatCannotBeKeptAsideIsNotReplaced) {
    fs::create_directories(configURL());  // a folder where the file should be
    const auto store = makeStore();
    EXPECT_TRUE(store->loadFailed());
    store->set(withDesktops(3));
    store->flush();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_THROW(std::rethrow_exception(writes.front()), FileError);
    EXPECT_TRUE(fs::is_directory(configURL()));
    EXPECT_TRUE(store->loadFailed());  // still: nothing was written
    EXPECT_TRUE(store->loadError());
}

TEST_F(ConfigStoreTest, AFolderThatCannotBeMadeIsReportedAndRetriedAtFlush) {
    writeText(folder / ".config", "a file in the folder's place");
    const auto store = makeStore();
    store->set(withDesktops(8));
    clock.advance(ConfigStore::saveDelay);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_THROW(std::rethrow_exception(writes.front()), FileError);
    EXPECT_EQ(store->config().desktopCount, 8);
    EXPECT_EQ(clock.pendingCount(), 0u);
    EXPECT_FALSE(store->loadFailed());

    fs::remove(folder / ".config");  // the user clears the way before quitting
    store->flush();
    EXPECT_EQ(writes.size(), 2u);
    EXPECT_FALSE(writes.back());
    EXPECT_EQ(desktopsOnDisk(), 8);
    store->flush();  // nothing left to write
    EXPECT_EQ(store->writeCount(), 2);
}

TEST_F(ConfigStoreTest, AFailedWriteLeavesTheChangeForTheNextChangeToSchedule) {
    writeText(folder / ".config", "blocking");
    const auto store = makeStore();
    store->set(withDesktops(2));
    clock.advance(ConfigStore::saveDelay);
    fs::remove(folder / ".config");
    store->set(withDesktops(3));
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(ConfigStore::saveDelay);
    EXPECT_EQ(desktopsOnDisk(), 3);
}

std::string messageOf(const ConfigStore::Error& error) {
    return ConfigStore::describe(error);
}

TEST_F(ConfigStoreTest, ALinkedFileIsReadAndWrittenAtItsTargetAndTheLinkStays) {
    const fs::path target = folder / "dotfiles" / "kelvo.json";
    fs::create_directories(target.parent_path());
    withDesktops(5).save(target);
    fs::create_directories(configURL().parent_path());
    fs::create_symlink("../../dotfiles/kelvo.json", configURL());
    const auto store = makeStore();
    EXPECT_EQ(store->config().desktopCount, 5);
    EXPECT_EQ(store->fileURL(), fs::canonical(target));

    store->set(withDesktops(7));
    store->flush();
    EXPECT_FALSE(writes.back());
    EXPECT_TRUE(fs::is_symlink(configURL()));
    EXPECT_EQ(Config::load(target).desktopCount, 7);
    // Nothing was left beside the link; the temporary file lived beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(configURL().parent_path()), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 1);
}

TEST_F(ConfigStoreTest, ALinkedUnreadableFileIsKeptAsideAtItsTarget) {
    const fs::path target = folder / "dotfiles" / "kelvo.json";
    writeText(target, "{ typo");
    fs::create_directories(configURL().parent_path());
    fs::create_symlink(target, configURL());
    const auto store = makeStore();
    EXPECT_TRUE(store->loadFailed());
    store->set(withDesktops(4));
    store->flush();
    EXPECT_FALSE(writes.back());
    EXPECT_TRUE(fs::is_symlink(configURL()));
    EXPECT_EQ(readFile(folder / "dotfiles" / "kelvo.json.unreadable"), "{ typo");
    EXPECT_EQ(store->unreadableURL(), fs::canonical(target).string() + ".unreadable");
    EXPECT_EQ(desktopsOnDisk(), 4);
}

TEST_F(ConfigStoreTest, AFileWithoutReadPermissionIsRenamedAsideAndTheSaveGoesOn) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    writeText(configURL(), R"({"desktopCount": 3})");
    fs::permissions(configURL(), fs::perms::none);
    const auto store = makeStore();
    EXPECT_TRUE(store->loadFailed());
    EXPECT_THROW(std::rethrow_exception(store->loadError()), FileError);
    store->set(withDesktops(6));
    store->flush();
    EXPECT_FALSE(writes.back()) << messageOf(writes.back());
    EXPECT_EQ(desktopsOnDisk(), 6);
    EXPECT_TRUE(fs::exists(store->unreadableURL()));
    EXPECT_FALSE(store->loadFailed());
}

TEST_F(ConfigStoreTest, ALinkThatLeadsNowhereIsItselfRenamedAside) {
    fs::create_directories(configURL().parent_path());
    const fs::path loopA = configURL().parent_path() / "a";
    fs::create_symlink("b", loopA);
    fs::create_symlink("a", configURL().parent_path() / "b");
    for (const fs::path& leadsTo : {folder / "gone.json", loopA}) {
        fs::remove(configURL());
        fs::remove(fs::path(configURL().string() + ".unreadable"));
        fs::create_symlink(leadsTo, configURL());
        writes.clear();
        const auto store = makeStore();
        EXPECT_TRUE(store->loadFailed()) << leadsTo;
        EXPECT_EQ(store->fileURL(), configURL());
        store->set(withDesktops(2));
        store->flush();
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_FALSE(writes.back()) << messageOf(writes.back());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(configURL())));
        EXPECT_EQ(desktopsOnDisk(), 2);
        EXPECT_EQ(fs::read_symlink(fs::path(configURL().string() + ".unreadable")), leadsTo);
    }
}

TEST_F(ConfigStoreTest, AFIFOIsRefusedAtOnceAsAnUnreadableFile) {
    fs::create_directories(configURL().parent_path());
    ASSERT_EQ(::mkfifo(configURL().c_str(), 0600), 0);
    const auto store = makeStore();  // would wait for a writer if the FIFO were opened plainly
    EXPECT_TRUE(store->loadFailed());
    EXPECT_EQ(messageOf(store->loadError()),
              "The file “config.json” couldn’t be opened because it isn’t a regular file.");
    store->set(withDesktops(3));
    store->flush();
    EXPECT_FALSE(writes.back()) << messageOf(writes.back());
    EXPECT_EQ(desktopsOnDisk(), 3);
    EXPECT_TRUE(fs::is_fifo(store->unreadableURL()));
}

TEST_F(ConfigStoreTest, ErrorsNameWhatIsInTheWay) {
    writeText(folder / ".config", "a file in the folder's place");
    auto store = makeStore();
    store->set(withDesktops(8));
    store->flush();
    EXPECT_EQ(messageOf(writes.back()),
              "The folder “kelvo” couldn’t be created because the file “.config” is in the way.");
    fs::remove(folder / ".config");

    writeText(configURL().parent_path(), "a file named like the folder");
    store->set(withDesktops(7));
    store->flush();
    EXPECT_EQ(messageOf(writes.back()),
              "The folder “kelvo” couldn’t be created because a file of that name is in the way.");
    fs::remove(configURL().parent_path());

    fs::create_directories(configURL());
    store = makeStore();
    EXPECT_EQ(messageOf(store->loadError()),
              "“config.json” couldn’t be opened because it is a folder, not a file.");
    store->set(withDesktops(6));
    store->flush();
    EXPECT_EQ(messageOf(writes.back()),
              "The file “config.json” couldn’t be saved because a folder of that name is in the "
              "way.");
}

// A person who mistyped a hand-edited file is told where: the line and column of a syntax
// error, the key path of a value of the wrong kind; the file itself stays as it was.
TEST_F(ConfigStoreTest, ALoadErrorSaysWhereInTheFileItWentWrong) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"{\n  \"desktopCount\": 4,\n  \"showLauncher\": false,\n}\n",
         "The given data was not valid JSON. Unexpected character '}' around line 4, column 1."},
        {R"({"gaps": {"inner": "8", "outer": 4}})",
         "gaps.inner: Expected to decode Double but found string instead."},
        {R"({"desktopCount": "two"})",
         "desktopCount: Expected to decode Int but found string instead."},
        {R"({"gaps": {"inner": 8}})", "gaps: No value associated with key \"outer\"."},
    };
    for (const auto& [text, reason] : files) {
        writeText(configURL(), text);
        const auto store = makeStore();
        EXPECT_TRUE(store->loadFailed()) << text;
        EXPECT_EQ(ConfigStore::describe(store->loadError()), reason);
        EXPECT_EQ(readFile(configURL()), text);
    }
}

TEST(ConfigStoreErrors, DescribeGivesTheFailuresText) {
    EXPECT_EQ(ConfigStore::describe(nullptr), "unknown error");
    EXPECT_EQ(ConfigStore::describe(std::make_exception_ptr(std::runtime_error("disk full"))),
              "disk full");
    EXPECT_EQ(ConfigStore::describe(std::make_exception_ptr(42)), "unknown error");
}

}  // namespace
}  // namespace kelvo
