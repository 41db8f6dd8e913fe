// The Launcher tab as laid out in the window: the vim-keys row dimmed while the launcher is
// off, and the terminal choice listing the automatic terminal, the installed ones and a
// configured one that is not installed.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Settings/LauncherPage.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class LauncherPageTest : public SettingsPageFixture {
  protected:
    LauncherPageTest() {
        bundle(tree.systemApplications / "Utilities", "Terminal.app", "com.apple.Terminal");
        bundle(tree.applications, "iTerm.app", "com.googlecode.iterm2");
        page.refresh();
    }

    /// The terminal menu as it pops up, picking `title` if given.
    std::vector<std::string> terminalMenu(std::optional<std::string> title = std::nullopt) {
        page.pickInMenu = std::move(title);
        page.menus.clear();
        page.click(page.role(page.id("terminal"), "popUpButton"));
        std::vector<std::string> titles;
        for (const MenuEntry& entry : page.menus.at(0))
            titles.push_back(entry.separator ? "—" : entry.title);
        return titles;
    }

    LaidOutPage page{[this] { return LauncherPage(model).body(); }};
};

TEST_F(LauncherPageTest, ListsTheLauncherAndTerminalCards) {
    EXPECT_EQ(page.outline(),
              (std::vector<std::string>{"LAUNCHER", "showLauncher", "launcherVimMode", "TERMINAL",
                                        "terminal"}));
    EXPECT_EQ(page.role(page.id("showLauncher"), "switch").element->value, "1");
    EXPECT_TRUE(page.id("launcherVimMode").enabled);
    EXPECT_EQ(page.role(page.id("terminal"), "popUpButton").element->value, "Automatic (iTerm)");
}

TEST_F(LauncherPageTest, WithTheLauncherOffItsVimKeysAreDimmedAndCannotChange) {
    page.click(page.role(page.id("showLauncher"), "switch"));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_FALSE(writes[0].showLauncher);
    EXPECT_FALSE(page.id("launcherVimMode").enabled);
    EXPECT_DOUBLE_EQ(page.id("launcherVimMode").opacity, 0.45);
    page.click(page.role(page.id("launcherVimMode"), "switch"));
    EXPECT_EQ(writes.size(), 1u);

    page.click(page.role(page.id("showLauncher"), "switch"));
    page.click(page.role(page.id("launcherVimMode"), "switch"));
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_TRUE(writes[2].launcherVimMode);
    EXPECT_DOUBLE_EQ(page.id("launcherVimMode").opacity, 1);
}

TEST_F(LauncherPageTest, ChoosingTheAutomaticTerminalStoresNone) {
    EXPECT_EQ(terminalMenu("Terminal"),
              (std::vector<std::string>{"Automatic (iTerm)", "—", "iTerm", "Terminal"}));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].terminalBundleID, "com.apple.Terminal");
    EXPECT_EQ(page.role(page.id("terminal"), "popUpButton").element->value, "Terminal");

    terminalMenu("Automatic (iTerm)");
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].terminalBundleID, std::nullopt);
    terminalMenu("Automatic (iTerm)");
    EXPECT_EQ(writes.size(), 2u) << "no empty identifier is stored";
}

TEST_F(LauncherPageTest, AConfiguredTerminalThatIsNotInstalledStaysListedUntilAnotherIsChosen) {
    given([](Config& config) { config.terminalBundleID = "org.example.gone"; });
    page.refresh();
    EXPECT_EQ(page.role(page.id("terminal"), "popUpButton").element->value, "org.example.gone");
    EXPECT_EQ(terminalMenu("iTerm"),
              (std::vector<std::string>{"Automatic (iTerm)", "—", "iTerm", "Terminal", "—",
                                        "org.example.gone"}));
    EXPECT_EQ(terminalMenu(),
              (std::vector<std::string>{"Automatic (iTerm)", "—", "iTerm", "Terminal"}));
}

TEST(LauncherPageOptions, WithoutAnyTerminalTheAutomaticChoiceHasNoName) {
    const LauncherPage::TerminalOptions items =
        LauncherPage::terminalOptions(std::nullopt, {}, std::nullopt);
    EXPECT_EQ(items.options, (std::vector<std::pair<std::string, std::string>>{{"Automatic", ""}}));
    EXPECT_EQ(items.dividersBefore, (std::vector<std::size_t>{1}));
}

}  // namespace
}  // namespace kelvo
