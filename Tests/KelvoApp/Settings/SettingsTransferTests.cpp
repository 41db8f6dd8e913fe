// The settings model's login item, settings file and About readouts on an in-process desktop:
// the desktop answers the file panels and the login-item requests, and records what the
// workspace was asked to open or reveal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoCore/Config/ConfigTransfer.h"
#include "Platform/AppKit/NSWindow.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoApp/SettingsModelFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Status = SMAppService::Status;
using Notice = SettingsModel::TransferNotice;
const std::vector<sim::ContentType> jsonOnly = {{"public.json", "json"}};

class SettingsTransferTest : public SettingsModelFixture {
  protected:
    /// A configuration with a tweak record and launcher recents, which no transfer touches.
    void holdMachineRecords() {
        model().updateConfig([](Config& next) {
            next.systemTweaks["windowResizeTime"] =
                SystemTweakRecord{"NSGlobalDomain", "NSWindowResizeTime",
                                  PreferenceOriginal::absent(), PreferenceValue::number(0.001)};
            next.launcherRecents = {"com.example.recent"};
        });
    }
    std::filesystem::path file(const std::string& name) const { return home / name; }
};

TEST_F(SettingsTransferTest, TheLoginItemFollowsTheDesktopsAnswers) {
    SettingsModel& settings = model();
    ASSERT_TRUE(settings.isBundled);
    settings.refreshLoginItem();
    EXPECT_EQ(settings.loginItemStatus.get(), Status::notRegistered);
    EXPECT_EQ(settings.loginItemDetail(),
              "Off. Kelvo has to be started by hand after each restart.");
    // Registering, and a refusal's text: the General page's tests.
    settings.setLoginItem(true);
    EXPECT_FALSE(settings.loginItemBadge().has_value());
    desktop->setLoginItemPolicy(ownBundleID, sim::LoginItemPolicy::refuses);
    settings.setLoginItem(false);
    EXPECT_EQ(settings.loginItemStatus.get(), Status::enabled);

    desktop->setLoginItemPolicy(ownBundleID, sim::LoginItemPolicy::needsApproval);
    settings.setLoginItem(false);
    settings.setLoginItem(true);
    EXPECT_FALSE(settings.loginItemError->has_value());
    EXPECT_EQ(settings.loginItemStatus.get(), Status::requiresApproval);
    EXPECT_EQ(settings.loginItemBadge(), std::optional<std::string>("needs approval"));
    EXPECT_EQ(settings.loginItemDetail(),
              "macOS is holding this until you allow it in System Settings → General → Login "
              "Items.");

    desktop->setLoginItemPolicy(ownBundleID, sim::LoginItemPolicy::cannotFind);
    settings.refreshLoginItem();
    EXPECT_EQ(settings.loginItemStatus.get(), Status::notFound);
    EXPECT_THAT(settings.loginItemDetail(), StartsWith("macOS cannot find this copy of Kelvo"));

    settings.openLoginItemsSettings();
    EXPECT_THAT(desktop->openedURLs(),
                ElementsAre("x-apple.systempreferences:com.apple.LoginItems-Settings.extension"));
}

TEST_F(SettingsTransferTest, OutsideABundleTheLoginItemAndVersionStandAside) {
    installed.registerSelf(InstalledDesktop::system(std::nullopt));
    SettingsModel& settings = model();
    EXPECT_FALSE(settings.isBundled);
    settings.setLoginItem(true);
    settings.refreshLoginItem();
    EXPECT_EQ(settings.loginItemStatus.get(), Status::notFound);
    EXPECT_TRUE(desktop->loginItems().empty());
    EXPECT_EQ(settings.loginItemBadge(), std::optional<std::string>("bundled app only"));
    EXPECT_THAT(settings.loginItemDetail(), StartsWith("Kelvo is running from a build directory"));
    EXPECT_EQ(settings.versionString(), "development");
    EXPECT_THAT(settings.buildDetail(), StartsWith("Running from "));
    EXPECT_THAT(settings.buildDetail(),
                HasSubstr(", not an installed Kelvo.app, so there is no version to report."));
}

TEST_F(SettingsTransferTest, ExportWritesTheSettingsWithoutTheMachineRecords) {
    holdMachineRecords();
    SettingsModel& settings = model();
    desktop->answerFilePanels({file("mine.json").string(), sim::filePanelCancelled});
    settings.exportSettings();
    EXPECT_EQ(settings.transferNotice.get(),
              std::optional<Notice>(Notice{"Settings written to mine.json.", false}));
    const std::string written = testing::fileContents(file("mine.json"));
    EXPECT_EQ(written, ConfigTransfer::exportSettings(settings.config()));
    EXPECT_THAT(written, ::testing::Not(HasSubstr("systemTweaks")));
    EXPECT_THAT(written, ::testing::Not(HasSubstr("launcherRecents")));
    EXPECT_THAT(written, StartsWith("{\n"));

    settings.exportSettings();  // cancelled
    EXPECT_EQ(settings.transferNotice->value().text, "Settings written to mine.json.");
    const auto panels = desktop->filePanels();
    ASSERT_EQ(panels.size(), 2U);
    EXPECT_EQ(panels[0].panel.title, "Export Kelvo settings");
    EXPECT_EQ(panels[0].panel.nameFieldStringValue, "kelvo-settings.json");
    EXPECT_TRUE(panels[0].panel.canCreateDirectories);

    EXPECT_EQ(panels[0].panel.allowedContentTypes, jsonOnly);

    desktop->answerFilePanels({(home / "missing" / "kelvo-settings.json").string()});
    settings.exportSettings();
    EXPECT_EQ(
        settings.transferNotice->value(),
        (Notice{"Could not write kelvo-settings.json: The folder “missing” doesn’t exist.", true}));
}

TEST_F(SettingsTransferTest, ExportOntoTheConfigurationFileWritesNothing) {
    holdMachineRecords();
    SettingsModel& settings = model();
    const std::string before = testing::fileContents(configFile);
    ASSERT_THAT(before, HasSubstr("systemTweaks"));
    // The other ways of naming the same file are the file system's tests.
    std::filesystem::create_symlink(configFile, file("settings-link.json"));
    desktop->answerFilePanels(
        {configFile.string(), file("settings-link.json").string(), file("config.json").string()});
    settings.exportSettings();
    EXPECT_EQ(
        settings.transferNotice->value(),
        (Notice{"Could not write config.json: it is the settings file Kelvo is using.", true}));
    settings.exportSettings();
    EXPECT_EQ(settings.transferNotice->value().text,
              "Could not write settings-link.json: it is the settings file Kelvo is using.");
    EXPECT_EQ(testing::fileContents(configFile), before);
    EXPECT_TRUE(std::filesystem::is_symlink(file("settings-link.json")));

    // Another file of the same name is an ordinary export.
    settings.exportSettings();
    EXPECT_EQ(settings.transferNotice->value(),
              (Notice{"Settings written to config.json.", false}));
}

TEST_F(SettingsTransferTest, AFailedImportSaysWhyAndChangesNothing) {
    holdMachineRecords();
    SettingsModel& settings = model();
    const Config before = settings.config();
    const auto writes = store->writeCount();
    // Each refusal of the file's contents has its own text, the settings file's tests.
    testing::writeText(file("list.json"), "[1, 2]");
    std::filesystem::create_directory(file("folder.json"));
    desktop->answerFilePanels(
        {file("list.json").string(), file("gone.json").string(), file("folder.json").string()});
    std::vector<Notice> notices;
    for (int i = 0; i < 3; ++i) {
        settings.importSettings();
        notices.push_back(settings.transferNotice->value());
    }
    EXPECT_EQ(notices[0], (Notice{"That file is not a Kelvo settings file.", true}));
    EXPECT_EQ(notices[1], (Notice{"Could not read gone.json: The file “gone.json” couldn’t be "
                                  "opened because there is no such file. Nothing was changed.",
                                  true}));
    EXPECT_EQ(notices[2], (Notice{"Could not read folder.json: “folder.json” couldn’t be opened "
                                  "because it is a folder, not a file. Nothing was changed.",
                                  true}));
    EXPECT_EQ(settings.config(), before);
    EXPECT_EQ(store->writeCount(), writes);
    const auto panel = desktop->filePanels().front().panel;
    EXPECT_EQ(panel.title, "Import Kelvo settings");
    EXPECT_EQ(panel.allowedContentTypes, jsonOnly);
    EXPECT_FALSE(panel.canChooseDirectories || panel.allowsMultipleSelection);
}

TEST_F(SettingsTransferTest, AFileOverOneMebibyteIsRefusedUnread) {
    holdMachineRecords();
    SettingsModel& settings = model();
    const Config before = settings.config();
    const auto writes = store->writeCount();
    // A settings file padded with white space to the size asked for.
    const auto padded = [](std::size_t size) {
        std::string text = "{\"desktopCount\": 4}";
        text.resize(size, ' ');
        return text;
    };
    testing::writeText(file("over.json"), padded(1048577));
    testing::writeText(file("exact.json"), padded(1048576));
    desktop->answerFilePanels({file("over.json").string(), file("exact.json").string()});
    settings.importSettings();
    EXPECT_EQ(
        settings.transferNotice.get(),
        std::optional<Notice>(Notice{
            "Could not read over.json: it is larger than 1 MiB. Nothing was changed.", true}));
    EXPECT_EQ(settings.config(), before);
    EXPECT_EQ(store->writeCount(), writes);

    settings.importSettings();
    EXPECT_EQ(
        settings.transferNotice->value(),
        (Notice{"Settings replaced with exact.json. Your system tweaks were left as they are.",
                false}));
    EXPECT_EQ(store->config().desktopCount, 4);
}

TEST_F(SettingsTransferTest, ImportAndRestoreKeepTheTweaksAndRecents) {
    holdMachineRecords();
    SettingsModel& settings = model();
    settings.markGuideSeen();
    Config elsewhere = Config::defaults();
    elsewhere.desktopCount = 6;
    testing::writeText(file("other.json"), ConfigTransfer::exportSettings(elsewhere));
    desktop->answerFilePanels({file("other.json").string()});
    settings.importSettings();
    EXPECT_EQ(settings.transferNotice.get(),
              std::optional<Notice>(Notice{"Settings replaced with other.json. Your system tweaks "
                                           "were left as they are.",
                                           false}));
    EXPECT_EQ(store->config().desktopCount, 6);
    EXPECT_TRUE(store->config().systemTweaks.contains("windowResizeTime"));
    EXPECT_THAT(store->config().launcherRecents, ElementsAre("com.example.recent"));

    settings.restoreDefaults();
    EXPECT_EQ(store->config().desktopCount, Config::defaults().desktopCount);
    EXPECT_FALSE(store->config().guideSeen);
    EXPECT_TRUE(store->config().systemTweaks.contains("windowResizeTime"));
    EXPECT_THAT(store->config().launcherRecents, ElementsAre("com.example.recent"));
    EXPECT_EQ(settings.transferNotice->value().text,
              "Every setting is back to Kelvo's defaults. The system tweaks were not touched. "
              "Revert those on the System tab.");
}

TEST_F(SettingsTransferTest, WithAWindowThePanelsRunAsItsSheets) {
    SettingsModel& settings = model();
    auto window = std::make_shared<NSWindow>(CGRect(0, 0, 300, 200), NSWindowStyleMaskTitled,
                                             NSBackingStoreBuffered, false);
    settings.window = window;
    desktop->answerFilePanels({file("sheet.json").string()});
    settings.exportSettings();
    settle();
    EXPECT_TRUE(std::filesystem::exists(file("sheet.json")));
    ASSERT_EQ(desktop->filePanels().size(), 1U);
    EXPECT_EQ(desktop->filePanels()[0].panel.sheetOf,
              std::optional<sim::WindowNumber>(window->windowNumber()));
}

TEST_F(SettingsTransferTest, TheReadoutsAndRevealsOfTheAboutPage) {
    sim::ApplicationSpec self = InstalledDesktop::system(InstalledDesktop::ownBundlePath);
    self.infoDictionary = {{"CFBundleShortVersionString", "2.0"}, {"CFBundleVersion", "2001"}};
    installed.registerSelf(self);
    EXPECT_EQ(model().versionString(), "2.0");
    EXPECT_EQ(model().buildDetail(), "Build 2001.");
    self.infoDictionary = {};
    installed.registerSelf(self);
    EXPECT_EQ(model().versionString(), "development");
    EXPECT_EQ(model().buildDetail(), "Bundled.");

    // The crash count is the About page's test.
    SettingsModel& settings = model();

    settings.revealConfigFile();
    EXPECT_THAT(desktop->openedURLs(), ElementsAre("file://" + configFile.parent_path().string()));
    testing::writeText(configFile, "{}");
    settings.revealConfigFile();
    EXPECT_THAT(desktop->fileViewerSelections(),
                ElementsAre(std::vector<std::string>{configFile.string()}));

    settings.revealLogFile();
    EXPECT_EQ(desktop->openedURLs().back(), "file://" + logFile.parent_path().string());
    testing::writeText(logFile, "");
    settings.revealLogFile();
    EXPECT_EQ(desktop->fileViewerSelections().back(), std::vector<std::string>{logFile.string()});
}

TEST_F(SettingsTransferTest, TheProblemReportCopiesTheLogThisProcessWrites) {
    std::filesystem::create_directories(logFile.parent_path());
    testing::writeText(logFile, "this run\n");
    testing::writeText(logFile.string() + ".1", "the run before\n");
    const auto standard = home / "Library" / "Logs" / "Kelvo";
    std::filesystem::create_directories(standard);
    testing::writeText(standard / "kelvo.log", "another run's log\n");
    const auto report = model().reportProblem();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(testing::fileContents(*report / "kelvo.log"), "this run\n");
    EXPECT_EQ(testing::fileContents(*report / "kelvo-previous.log"), "the run before\n");
}

}  // namespace
}  // namespace kelvo
