// The settings view shows the General, Tiling, Focus, Launcher and About pages for their tabs,
// in the column the page tests lay them out in.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Settings/SettingsView.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

using SettingsPagesInWindowTest = SettingsViewFixture;

TEST_F(SettingsPagesInWindowTest, EachTabShowsItsPageFromItsFirstRowAcrossThePagesWidth) {
    const std::vector<std::pair<SettingsTab, std::string>> firstRows = {
        {SettingsTab::general, "desktopCount"},
        {SettingsTab::tiling, "defaultLayoutMode"},
        {SettingsTab::focus, "focusBorder"},
        {SettingsTab::launcher, "showLauncher"},
        {SettingsTab::about, "version"}};
    for (const auto& [tab, row] : firstRows) {
        model.setSection(tab);
        show([this] { return SettingsView(model).body(); });
        ASSERT_TRUE(has(row)) << row;
        EXPECT_EQ(id(row).frame.width(), LaidOutPage::pageWidth - 2 * 24) << row;
        for (const auto& [otherTab, other] : firstRows) {
            if (otherTab == tab) continue;
            EXPECT_FALSE(has(other)) << other << " on the page of " << row;
        }
    }
}

}  // namespace
}  // namespace kelvo
