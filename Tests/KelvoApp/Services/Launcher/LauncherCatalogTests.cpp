#include <gtest/gtest.h>

#include "KelvoApp/Services/Launcher/AppIcons.h"
#include "KelvoApp/Services/Launcher/LauncherCatalog.h"
#include "Support/Platform/InstalledApplicationsFixture.h"

namespace kelvo {
namespace {

using LauncherCatalogTest = InstalledApplicationsFixture;

TEST_F(LauncherCatalogTest, SearchesEachRootAndItsFoldersOneLevelDeep) {
    bundle(tree.applications, "Editor.app", "com.example.editor");
    bundle(tree.applications / "Utilities", "Disk Tool.app", "com.example.disk");
    bundle(tree.applications / "Games" / "Old", "Far.app", "com.example.far");
    bundle(tree.userApplications, "Mine.app", "com.example.mine");
    bundle(tree.systemApplications, "Clock.app", "com.example.clock");
    bundle(tree.applications, ".Hidden.app", "com.example.hidden");
    tree.install(tree.applications, "Nameless.app", BundleContents{});
    std::filesystem::create_directories(tree.applications / "Broken.app");

    const auto installed = LauncherCatalog::installed();
    std::vector<std::string> found;
    for (const auto& [bundleID, app] : installed)
        found.push_back(bundleID);
    EXPECT_EQ(found, (std::vector<std::string>{"com.example.clock", "com.example.disk",
                                               "com.example.editor", "com.example.mine"}));
    const LauncherApp& disk = installed.at("com.example.disk");
    EXPECT_EQ(disk.entry, (LauncherEntry{"com.example.disk", "Disk Tool", false}));
    EXPECT_EQ(disk.url, tree.applications / "Utilities" / "Disk Tool.app");
}

TEST_F(LauncherCatalogTest, TheFirstCopyOfAnIdentifierWins) {
    const auto first = bundle(tree.applications, "Zed.app", "com.example.same");
    bundle(tree.applications, "Zulu.app", "com.example.same");
    bundle(tree.userApplications, "Alpha.app", "com.example.same");
    EXPECT_EQ(LauncherCatalog::installed().at("com.example.same").url, first);
}

TEST_F(LauncherCatalogTest, TheShownNameDropsTheExtensionWhetherTheViewerShowsItOrNot) {
    bundle(tree.applications, "Safari.app", "com.example.safari");
    EXPECT_EQ(LauncherCatalog::installed().at("com.example.safari").entry.name, "Safari");
    showAllExtensions(true);
    EXPECT_EQ(LauncherCatalog::installed().at("com.example.safari").entry.name, "Safari");
}

TEST_F(LauncherCatalogTest, RunningCandidatesAreRegularLiveApplicationsFirstOneWinning) {
    const auto agentBundle = bundle(tree.applications, "Agent.app", "com.example.agent");
    const auto editor = launch("com.example.editor");
    launch("com.example.editor");
    sim::ApplicationSpec agent;
    agent.bundleID = "com.example.agent";
    agent.bundlePath = agentBundle.string();
    agent.activationPolicy = sim::ActivationPolicy::accessory;
    desktop->launch(agent);
    sim::ApplicationSpec bare;
    bare.bundleID = "com.example.bare";
    bare.name = "";
    desktop->launch(bare);
    sim::ApplicationSpec unnamed;
    unnamed.bundleID = "com.example.unnamed";
    unnamed.name = "";
    unnamed.bundlePath = (tree.applications / "Unnamed.app").string();
    desktop->launch(unnamed);
    desktop->terminate(launch("com.example.gone"), true);

    const auto running = LauncherCatalog::running();
    std::vector<std::string> found;
    for (const auto& [bundleID, app] : running)
        found.push_back(bundleID);
    EXPECT_EQ(found, (std::vector<std::string>{"com.example.bare", "com.example.editor",
                                               "com.example.unnamed"}));
    EXPECT_EQ(running.at("com.example.bare").entry,
              (LauncherEntry{"com.example.bare", "com.example.bare", true}));
    EXPECT_EQ(running.at("com.example.bare").url, std::nullopt);
    EXPECT_EQ(running.at("com.example.unnamed").entry.name, "Unnamed");
    EXPECT_EQ(running.at("com.example.editor").entry.name, "editor");
    EXPECT_EQ(desktop->application(editor)->bundlePath, running.at("com.example.editor").url);
    // The agent is no running candidate, but its installed copy still is.
    EXPECT_TRUE(LauncherCatalog::installed().contains("com.example.agent"));
}

using AppIconsTest = InstalledApplicationsFixture;

TEST_F(AppIconsTest, AnAbsentIconIsRememberedAndNotLookedUpAgain) {
    const std::string id = "com.example.icons.later";
    EXPECT_EQ(AppIcons::icon(id, std::nullopt), nullptr);
    tree.install(tree.applications, "Later.app", BundleContents{.bundleID = id, .icon = true});
    EXPECT_EQ(AppIcons::icon(id, std::nullopt), nullptr);
}

TEST_F(AppIconsTest, TheIconOfTheGivenBundleIsKeptForItsIdentifier) {
    const std::string id = "com.example.icons.own";
    const auto path =
        tree.install(tree.applications, "Own.app", BundleContents{.bundleID = id, .icon = true});
    const auto icon = AppIcons::icon(id, path);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(AppIcons::icon(id, std::nullopt), icon);
    const auto pixel = NSBitmapImageRep(icon->CGImageForScale(1)).colorAtX(4, 4);
    ASSERT_NE(pixel, nullptr);
    EXPECT_GT(pixel->blueComponent(), 0.8);
    // Without an icon of its own a bundle shows the generic one, drawn by the system.
    const auto plain = AppIcons::icon("com.example.icons.plain", tree.applications / "Plain.app");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->size(), (CGSize{128, 128}));
}

}  // namespace
}  // namespace kelvo
