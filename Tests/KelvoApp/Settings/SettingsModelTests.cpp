// The settings model's core on an in-process desktop and the manual clock: the configuration
// written through and adopted, the save's errors, the tab, the search and the reveal, the
// rule lists, and the configuration path as shown.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoApp/SettingsModelFixture.h"

namespace kelvo {
namespace {

class SettingsModelTest : public SettingsModelFixture {};

TEST_F(SettingsModelTest, AnAdoptedConfigurationIsPublishedButNeverWrittenBack) {
    SettingsModel& settings = model();
    const auto writes = store->writeCount();
    const int before = notifications();
    settings.adopt(settings.config());
    EXPECT_EQ(notifications(), before);

    Config changed = settings.config();
    changed.desktopCount = 7;
    settings.adopt(changed);
    EXPECT_EQ(settings.config().desktopCount, 7);
    EXPECT_GT(notifications(), before);
    EXPECT_EQ(store->writeCount(), writes);
    EXPECT_NE(store->config().desktopCount, 7);

    settings.updateConfig([](Config& next) { next.desktopCount = 8; });
    EXPECT_EQ(store->config().desktopCount, 8);
    EXPECT_EQ(store->writeCount(), writes + 1);
}

TEST_F(SettingsModelTest, AFailedSaveShowsItsErrorUntilALaterSaveSucceeds) {
    testing::writeText(configFile, "{ not json");
    SettingsModel& settings = model();
    ASSERT_TRUE(settings.loadFailed.get());

    // A file where the configuration's folder should be: every write fails.
    std::filesystem::remove_all(configFile.parent_path());
    testing::writeText(configFile.parent_path(), "in the way");
    settings.updateConfig([](Config& next) { next.desktopCount = 3; });
    ASSERT_TRUE(settings.writeError->has_value());
    EXPECT_FALSE(settings.writeError->value().empty());
    EXPECT_EQ(settings.config().desktopCount, 3);
    EXPECT_EQ(store->config().desktopCount, 3);
    EXPECT_TRUE(settings.loadFailed.get());

    std::filesystem::remove(configFile.parent_path());
    std::filesystem::create_directories(configFile.parent_path());
    settings.updateConfig([](Config& next) { next.desktopCount = 4; });
    EXPECT_FALSE(settings.writeError->has_value());
    EXPECT_FALSE(settings.loadFailed.get());
    EXPECT_TRUE(std::filesystem::exists(configFile));
}

TEST_F(SettingsModelTest, MarkingTheGuideSeenWritesOnlyOnce) {
    SettingsModel& settings = model();
    settings.markGuideSeen();
    EXPECT_TRUE(store->config().guideSeen);
    const auto writes = store->writeCount();
    settings.markGuideSeen();
    EXPECT_EQ(store->writeCount(), writes);
}

TEST_F(SettingsModelTest, ANewerRevealKeepsItsFullHighlight) {
    SettingsModel& settings = model();
    settings.revealSetting("innerGap");
    const auto first = settings.reveal.get();
    clock.advance(0.6);
    settings.revealSetting("innerGap");
    ASSERT_TRUE(settings.reveal->has_value());
    EXPECT_NE(settings.reveal.get(), first);
    EXPECT_EQ(settings.reveal->value(), (SettingsModel::Reveal{"innerGap", 2}));
    clock.advance(0.6);  // the first reveal's time is up
    EXPECT_EQ(settings.flashing.get(), std::optional<std::string>("innerGap"));
    clock.advance(0.49);
    EXPECT_TRUE(settings.flashing->has_value());
    clock.advance(0.02);
    EXPECT_FALSE(settings.flashing->has_value());
}

// Typing, the keys, Return and Escape are the palette field's tests.
TEST_F(SettingsModelTest, OpeningTheSearchStartsAfreshAndClosingAClosedOneChangesNothing) {
    SettingsModel& settings = model();
    settings.search.modify([](SettingsSearch& search) { search.type("left over"); });
    settings.closeSearch();
    EXPECT_EQ(settings.search->query(), "left over");

    settings.openSearch();
    EXPECT_TRUE(settings.searchOpen.get());
    EXPECT_EQ(settings.search->query(), "");
    EXPECT_EQ(settings.search->entries().size(),
              SettingsCatalog::entries(settings.config()).size());
}

TEST_F(SettingsModelTest, OnlyAnotherTabEndsARecordingAndClearsItsNotice) {
    SettingsModel& settings = model();
    installHotkeyHook();
    settings.beginRecording(Shortcut::focusLeft);
    settings.recordNotice = std::string("earlier");
    settings.setSection(SettingsTab::general);
    EXPECT_TRUE(settings.recording->has_value());
    EXPECT_EQ(settings.recordNotice.get(), std::optional<std::string>("earlier"));

    settings.setSection(SettingsTab::shortcuts);
    EXPECT_FALSE(settings.recording->has_value());
    EXPECT_FALSE(settings.recordNotice->has_value());
    EXPECT_THAT(hotkeyCalls, ::testing::ElementsAre("suspend", "resume"));
}

TEST_F(SettingsModelTest, TheRuleListsTakeTrimmedIdentifiersAndWriteOnceEach) {
    SettingsModel& settings = model();
    const auto writes = store->writeCount();
    settings.add("  com.example.float \n", &Config::floatBundleIDs);
    EXPECT_TRUE(store->config().floatBundleIDs.contains("com.example.float"));
    EXPECT_EQ(store->writeCount(), writes + 1);
    settings.add("com.example.float", &Config::floatBundleIDs);
    settings.add(" \n\t", &Config::ignoreBundleIDs);
    EXPECT_EQ(store->writeCount(), writes + 1);

    settings.remove("com.example.float ", &Config::floatBundleIDs);
    EXPECT_TRUE(settings.config().floatBundleIDs.contains("com.example.float"));
    settings.remove("com.example.float", &Config::floatBundleIDs);
    EXPECT_FALSE(store->config().floatBundleIDs.contains("com.example.float"));
    EXPECT_EQ(store->writeCount(), writes + 2);

    settings.add("com.example.ignored", &Config::ignoreBundleIDs);
    EXPECT_TRUE(store->config().ignoreBundleIDs.contains("com.example.ignored"));
}

TEST_F(SettingsModelTest, OnlyALeadingHomeFolderIsShownAsTilde) {
    EXPECT_EQ(SettingsModel::displayPath("/Users/a/.config/kelvo/config.json", "/Users/a"),
              "~/.config/kelvo/config.json");
    EXPECT_EQ(SettingsModel::displayPath("/Users/ab/config.json", "/Users/a"),
              "/Users/ab/config.json");
    EXPECT_EQ(SettingsModel::displayPath("/srv/Users/a/config.json", "/Users/a"),
              "/srv/Users/a/config.json");
    EXPECT_EQ(SettingsModel::displayPath("/Users/a", "/Users/a/"), "~");
    EXPECT_EQ(SettingsModel::displayPath("/etc/kelvo/config.json", "/"), "/etc/kelvo/config.json");
    EXPECT_EQ(model().configPath, "~/.config/kelvo/config.json");
}

TEST_F(SettingsModelTest, ADestroyedModelResumesTheHotKeysAndForgetsItsTimers) {
    installHotkeyHook();
    model().beginRecording(Shortcut::focusLeft);
    model().revealSetting("innerGap");
    destroyModel();
    clock.advance(11);
    EXPECT_THAT(hotkeyCalls, ::testing::ElementsAre("suspend", "resume"));
}

}  // namespace
}  // namespace kelvo
