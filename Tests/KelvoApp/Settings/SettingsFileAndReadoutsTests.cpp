// The About page's settings-file card and readouts as the person meets them: what each panel
// lets them choose, an export that fails saying why, and the version of an installed copy.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Support/KelvoApp/SettingsModelFixture.h"

namespace kelvo {
namespace {

class SettingsFileAndReadoutsTest : public SettingsModelFixture {};

TEST_F(SettingsFileAndReadoutsTest, AnExportThatCannotBeWrittenSaysWhy) {
    desktop->answerFilePanels({(home / "missing" / "kelvo-settings.json").string()});
    model().exportSettings();
    ASSERT_TRUE(model().transferNotice->has_value());
    EXPECT_EQ(model().transferNotice->value().text,
              "Could not write kelvo-settings.json: The folder “missing” doesn’t exist.");
    EXPECT_TRUE(model().transferNotice->value().failed);
}

TEST_F(SettingsFileAndReadoutsTest, ThePanelsOfferJSONFilesAndTheImportOneFileOnly) {
    desktop->answerFilePanels({sim::filePanelCancelled, sim::filePanelCancelled});
    model().exportSettings();
    model().importSettings();
    const auto panels = desktop->filePanels();
    ASSERT_EQ(panels.size(), 2U);
    const std::vector<sim::ContentType> json = {{"public.json", "json"}};
    EXPECT_EQ(panels[0].panel.allowedContentTypes, json);
    EXPECT_EQ(panels[1].panel.allowedContentTypes, json);
    EXPECT_FALSE(panels[1].panel.canChooseDirectories);
    EXPECT_FALSE(panels[1].panel.allowsMultipleSelection);
    EXPECT_FALSE(model().transferNotice->has_value()) << "a cancelled panel changes nothing";
}

TEST_F(SettingsFileAndReadoutsTest, AnInstalledCopyShowsItsVersionAndBuild) {
    sim::ApplicationSpec self = InstalledDesktop::system(InstalledDesktop::ownBundlePath);
    self.infoDictionary = {{"CFBundleShortVersionString", "2.0"}, {"CFBundleVersion", "2001"}};
    installed.registerSelf(self);
    EXPECT_EQ(model().versionString(), "2.0");
    EXPECT_EQ(model().buildDetail(), "Build 2001.");

    self.infoDictionary = {};
    installed.registerSelf(self);
    EXPECT_EQ(model().versionString(), "development");
    EXPECT_EQ(model().buildDetail(), "Bundled.");
}

}  // namespace
}  // namespace kelvo
