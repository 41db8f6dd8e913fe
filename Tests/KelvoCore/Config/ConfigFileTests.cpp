#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "Base/Foundation/FileSystem.h"
#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Config/Config.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Base/TestFiles.h"

namespace kelvo {
namespace {

using testing::entriesIn;
using testing::ScopedEnvironment;
using testing::TemporaryFolder;
using testing::writeText;

TEST(ConfigFile, SavedDefaultsLoadBackEqual) {
    TemporaryFolder folder;
    Config::defaults().save(folder / "config.json");
    EXPECT_EQ(Config::load(folder / "config.json"), Config::defaults());
}

TEST(ConfigFile, IsPrettyPrintedWithSortedKeys) {
    TemporaryFolder folder;
    Config::defaults().save(folder / "config.json");
    const std::string text = readFile(folder / "config.json");
    EXPECT_EQ(text.rfind("{\n  \"clickToFloat\" : true,\n  \"defaultLayoutMode\" : \"bsp\",", 0),
              0u)
        << text;
    EXPECT_NE(text.find("  \"gaps\" : {\n    \"inner\" : 0,\n    \"outer\" : 0\n  },"),
              std::string::npos)
        << text;
}

TEST(ConfigFile, SavingReplacesTheFileAndLeavesNothingElse) {
    TemporaryFolder folder;
    const auto path = folder / "config.json";
    writeText(path, "old");
    ::chmod(path.c_str(), 0600);
    Config c;
    c.desktopCount = 3;
    c.save(path);
    EXPECT_EQ(Config::load(path).desktopCount, 3);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the replaced file keeps its permissions";
}

TEST(ConfigFile, SavingIntoAMissingFolderFailsAndCreatesNothing) {
    TemporaryFolder folder;
    try {
        Config::defaults().save(folder / "missing" / "config.json");
        FAIL() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::noSuchFile);
        EXPECT_STREQ(error.what(), "The folder “missing” doesn’t exist.");
    }
    EXPECT_EQ(entriesIn(folder.path()), 0u);
}

TEST(ConfigFile, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TemporaryFolder folder;
    const auto path = folder / "config.json";
    writeText(path, "{\"desktopCount\":2}");
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_THROW(Config::defaults().save(path), FileError);
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(Config::load(path).desktopCount, 2);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

TEST(ConfigFile, NonFiniteNumbersAreRefusedBeforeAnythingIsWritten) {
    TemporaryFolder folder;
    Config c;
    c.gaps.inner = INFINITY;
    EXPECT_THROW(c.save(folder / "config.json"), EncodingError);
    EXPECT_EQ(entriesIn(folder.path()), 0u);
}

TEST(ConfigFile, GapsReadFromAFileStayWithinWhatTheSettingsWindowOffers) {
    TemporaryFolder folder;
    struct Row {
        const char* gaps;
        double inner;
        double outer;
    };
    const Row rows[] = {
        {R"({"inner":-300,"outer":-100})", 0, 0},   {R"({"inner":5000,"outer":5000})", 64, 64},
        {R"({"inner":1e308,"outer":800})", 64, 64}, {R"({"inner":64.5,"outer":-0.5})", 64, 0},
        {R"({"inner":8,"outer":12.5})", 8, 12.5},   {R"({"inner":0,"outer":64})", 0, 64},
    };
    for (const Row& row : rows) {
        writeText(folder / "config.json", std::string(R"({"gaps":)") + row.gaps + "}");
        const Config c = Config::load(folder / "config.json");
        EXPECT_EQ(c.gaps.inner, row.inner) << row.gaps;
        EXPECT_EQ(c.gaps.outer, row.outer) << row.gaps;
    }
}

TEST(ConfigFile, LoadingTellsAMissingFileFromADamagedOne) {
    TemporaryFolder folder;
    try {
        Config::load(folder / "config.json");
        FAIL() << "loaded a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::noSuchFile);
    }

    const std::pair<const char*, DecodingError::Kind> damaged[] = {
        {"", DecodingError::Kind::dataCorrupted},
        {"{\"desktopCount\": 3", DecodingError::Kind::dataCorrupted},
        {"\xff\xfe{}", DecodingError::Kind::dataCorrupted},
        {"{\"desktopCount\":\"x\"}", DecodingError::Kind::typeMismatch},
    };
    for (const auto& [text, kind] : damaged) {
        writeText(folder / "config.json", text);
        try {
            Config::load(folder / "config.json");
            ADD_FAILURE() << "loaded " << text;
        } catch (const DecodingError& error) {
            EXPECT_EQ(error.kind(), kind) << text;
        }
    }
}

TEST(ConfigFile, AFolderInPlaceOfTheFileIsUnreadable) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder / "config.json");
    try {
        Config::load(folder / "config.json");
        FAIL() << "loaded a folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::other);
    }
}

TEST(ConfigFile, DefaultLocationFollowsHome) {
    const ScopedEnvironment home("HOME", "/tmp/someone");
    EXPECT_EQ(Config::defaultURL(), "/tmp/someone/.config/kelvo/config.json");
}

}  // namespace
}  // namespace kelvo
