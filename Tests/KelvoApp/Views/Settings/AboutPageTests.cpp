// The About tab as laid out in the window: its cards and footer, the updates row with and
// without an updater, the transfer notice at the top of the settings-file card, the restore
// that asks first, and the report row's words for the crash reports found.

#include <gtest/gtest.h>

#include <filesystem>

#include "KelvoApp/Updates/Updates.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/AboutPage.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class AboutPageTest : public SettingsPageFixture {
  protected:
    const LayoutNode& button(const std::string& row) { return page.role(page.id(row), "button"); }
    /// The symbol of the settings-file card's notice, drawn in `colour`.
    const LayoutNode* noticeSymbol(const std::string& name, const Color& colour) {
        return page.tree().find([&](const LayoutNode& n) {
            return n.kind == NodeKind::image && n.text == name && n.color == colour;
        });
    }

    /// A home of the test's own: its Desktop and crash reports.
    testing::TemporaryFolder home;
    testing::ScopedEnvironment homeVariable{"HOME", home.path().string()};
    LaidOutPage page{[this] { return AboutPage(model).body(); }};
};

TEST_F(AboutPageTest, ListsItsThreeCardsThenThePublisherCentredBelowThem) {
    EXPECT_EQ(page.outline(), (std::vector<std::string>{
                                  "KELVO", "version", "checkForUpdates", "guide", "SETTINGS FILE",
                                  "settingsFileLocation", "exportSettings", "importSettings",
                                  "restoreDefaults", "DIAGNOSTICS", "logFile", "reportProblem"}));
    EXPECT_TRUE(page.id("version").findText(model.versionString()));
    EXPECT_TRUE(LaidOutPage::words(page.id("version"), model.buildDetail()));
    EXPECT_EQ(button("guide").element->label, "Open Guide…");
    int guides = 0;
    model.openGuide = [&guides] { ++guides; };
    page.click(button("guide"));
    EXPECT_EQ(guides, 1);
    EXPECT_TRUE(LaidOutPage::words(page.id("settingsFileLocation"),
                                   model.configPath + " · saved as you change it"));
    EXPECT_EQ(button("settingsFileLocation").element->label, "Show in Finder");
    EXPECT_EQ(button("exportSettings").element->label, "Export…");
    EXPECT_EQ(button("importSettings").element->label, "Import…");
    EXPECT_EQ(button("restoreDefaults").element->label, "Restore…");
    EXPECT_EQ(button("logFile").element->label, "Reveal in Finder");
    EXPECT_EQ(button("reportProblem").element->label, "Save to Desktop");

    const LayoutNode* footer = page.tree().findText(AboutPage::footerText);
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->color, Palette::dim());
    EXPECT_NEAR(footer->frame.midX(), LaidOutPage::pageWidth / 2, 0.5);
    EXPECT_GT(footer->frame.minY(), page.id("reportProblem").frame.maxY());
}

TEST_F(AboutPageTest, OnlyABundledCopyOffersACheckForUpdatesWhichOpensTheUpdatersWindow) {
    const LayoutNode& row = page.id("checkForUpdates");
    EXPECT_TRUE(
        LaidOutPage::words(row, "This copy is not a bundled app, so there is nothing to update."));
    EXPECT_TRUE(row.findText("-"));
    EXPECT_FALSE(row.findRole("button"));

    Updates updates;
    model.updates = &updates;
    page.refresh();
    EXPECT_TRUE(LaidOutPage::words(page.id("checkForUpdates"),
                                   "Kelvo never checks unless you say it may."));
    EXPECT_EQ(button("checkForUpdates").element->label, "Check now");
    ASSERT_TRUE(updates.controller());
    EXPECT_FALSE(updates.controller()->statusController());
    page.click(button("checkForUpdates"));
    EXPECT_TRUE(updates.controller()->statusController());
    model.updates = nullptr;
}

TEST_F(AboutPageTest, ATransferNoticeHeadsTheSettingsFileCardInItsColour) {
    model.transferNotice = SettingsModel::TransferNotice{"Settings replaced with a.json.", false};
    page.refresh();
    const LayoutNode* text = LaidOutPage::words(page.tree(), "Settings replaced with a.json.");
    ASSERT_TRUE(text);
    const LayoutNode& location = page.id("settingsFileLocation");
    EXPECT_LT(text->frame.maxY(), location.frame.minY());
    EXPECT_GT(text->frame.minY(), page.tree().findText("SETTINGS FILE")->frame.maxY());
    EXPECT_TRUE(noticeSymbol("checkmark.circle.fill", Palette::good()));

    model.transferNotice = SettingsModel::TransferNotice{"Could not read a.json: no.", true};
    page.refresh();
    EXPECT_TRUE(LaidOutPage::words(page.tree(), "Could not read a.json: no."));
    EXPECT_TRUE(noticeSymbol("exclamationmark.triangle.fill", Palette::warning()));
}

TEST_F(AboutPageTest, RestoreAsksFirstAndOnlyTheDestructiveAnswerRestores) {
    given([](Config& config) { config.desktopCount = 3; });
    desktop->answerAlerts({"Cancel"});
    page.click(button("restoreDefaults"));
    settle();
    ASSERT_EQ(desktop->alerts().size(), 1u);
    EXPECT_EQ(desktop->alerts()[0].alert.messageText,
              "Put every Kelvo setting back to its default?");
    EXPECT_EQ(desktop->alerts()[0].alert.informativeText,
              "Your desktops, gaps, rules, keys and launcher settings all go back to how Kelvo "
              "ships. The system tweaks are NOT touched. Those are changes to macOS itself, and "
              "System has its own revert for them.");
    EXPECT_EQ(desktop->alerts()[0].alert.buttons,
              (std::vector<std::string>{"Restore defaults", "Cancel"}));
    EXPECT_TRUE(writes.empty());

    desktop->answerAlerts({"Restore defaults"});
    page.click(button("restoreDefaults"));
    settle();
    ASSERT_EQ(desktop->alerts().size(), 2u);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].desktopCount, 9);
}

TEST_F(AboutPageTest, TheReportRowCountsTheCrashReportsFoundWhenFirstShown) {
    EXPECT_TRUE(LaidOutPage::words(page.id("reportProblem"),
                                   "Saves a report to your Desktop you can send on."));
    testing::addCrashReport(home.path(), "KelvoApp-2026-01-01-000000.ips", 1000);
    testing::addCrashReport(home.path(), "KelvoApp-2026-01-02-000000.ips", 2000);
    SettingsModel later(store, SystemTweakService(preferences, nullptr), folder / "kelvo.log");
    LaidOutPage shown([&] { return AboutPage(later).body(); });
    EXPECT_TRUE(LaidOutPage::words(shown.id("reportProblem"),
                                   "2 crash report(s) on this machine will be included."));
    // Counted once: a report that comes later changes nothing until the next launch.
    testing::addCrashReport(home.path(), "KelvoApp-2026-01-03-000000.ips", 3000);
    shown.refresh();
    EXPECT_TRUE(LaidOutPage::words(shown.id("reportProblem"),
                                   "2 crash report(s) on this machine will be included."));
}

TEST_F(AboutPageTest, SaveToDesktopLeavesAReportFolderThereAndShowsItInTheFinder) {
    page.click(button("reportProblem"));
    const std::filesystem::path onDesktop = home / "Desktop";
    ASSERT_EQ(testing::entriesIn(onDesktop), 1u);
    const std::filesystem::path report = std::filesystem::directory_iterator(onDesktop)->path();
    EXPECT_TRUE(std::filesystem::is_directory(report));
    EXPECT_GT(testing::entriesIn(report), 0u);
    ASSERT_FALSE(desktop->fileViewerSelections().empty());
    EXPECT_EQ(desktop->fileViewerSelections().back(), std::vector<std::string>{report.string()});
}

}  // namespace
}  // namespace kelvo
