#include <gtest/gtest.h>

#include "KelvoApp/Applications/AppCatalog.h"
#include "KelvoApp/Applications/TerminalCatalog.h"
#include "KelvoApp/Services/AppDisplayNames.h"
#include "KelvoApp/Services/AppIcons.h"
#include "KelvoApp/Services/LauncherCatalog.h"
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

using AppDisplayNamesTest = InstalledApplicationsFixture;

TEST_F(AppDisplayNamesTest, PrefersTheRunningNameThenTheInstalledOne) {
    sim::ApplicationSpec spec;
    spec.bundleID = "com.example.names.running";
    spec.name = "Running Name";
    desktop->launch(spec);
    bundle(tree.applications, "Installed Copy.app", "com.example.names.running");
    bundle(tree.applications, "Installed Name.app", "com.example.names.installed");
    EXPECT_EQ(AppDisplayNames::name("com.example.names.running"), "Running Name");
    EXPECT_EQ(AppDisplayNames::name("com.example.names.installed"), "Installed Name");
}

TEST_F(AppDisplayNamesTest, AnUnknownIdentifierStaysItsOwnNameForTheRestOfTheProcess) {
    const std::string id = "com.example.names.later";
    EXPECT_EQ(AppDisplayNames::name(id), id);
    bundle(tree.applications, "Later.app", id);
    sim::ApplicationSpec spec;
    spec.bundleID = id;
    spec.name = "Later";
    desktop->launch(spec);
    EXPECT_EQ(AppDisplayNames::name(id), id);
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

using AppCatalogTest = InstalledApplicationsFixture;

TEST_F(AppCatalogTest, AShownExtensionFallsBackToTheBundlesDisplayNameOrFileName) {
    tree.install(tree.applications, "Shown.app",
                 BundleContents{.bundleID = "com.example.shown", .displayName = "Shown Off"});
    bundle(tree.applications, "Plain.app", "com.example.plain");
    EXPECT_EQ(AppCatalog::name("com.example.shown"), "Shown");
    showAllExtensions(true);
    EXPECT_EQ(AppCatalog::name("com.example.shown"), "Shown Off");
    EXPECT_EQ(AppCatalog::name("com.example.plain"), "Plain");
}

TEST_F(AppCatalogTest, AnUnknownIdentifierHasNoNameAndNoIcon) {
    EXPECT_EQ(AppCatalog::name("com.example.nowhere"), std::nullopt);
    EXPECT_EQ(AppCatalog::icon("com.example.nowhere"), nullptr);
}

TEST_F(AppCatalogTest, RunningListsRegularApplicationsOncePerIdentifierByName) {
    auto start = [&](const std::string& id, const std::string& name,
                     sim::ActivationPolicy policy = sim::ActivationPolicy::regular) {
        sim::ApplicationSpec spec;
        spec.bundleID = id;
        spec.name = name;
        spec.activationPolicy = policy;
        return desktop->launch(spec);
    };
    start("com.example.gamma", "Gamma");
    start("com.example.beta", "beta");
    start("com.example.beta", "beta");
    start("com.example.menu", "Menu Agent", sim::ActivationPolicy::accessory);
    start("com.example.first", "Twin");
    start("com.example.second", "twin");
    bundle(tree.applications, "Installed.app", "com.example.installed");
    start("com.example.installed", "");
    const auto running = AppCatalog::running();
    EXPECT_EQ(running, (std::vector<AppEntry>{{"com.example.beta", "beta"},
                                              {"com.example.gamma", "Gamma"},
                                              {"com.example.installed", "Installed"},
                                              {"com.example.first", "Twin"},
                                              {"com.example.second", "twin"}}));
}

using TerminalCatalogTest = InstalledApplicationsFixture;

TEST_F(TerminalCatalogTest, WithoutAKnownTerminalThereIsNone) {
    bundle(tree.applications, "Other.app", "com.example.terminal");
    EXPECT_EQ(TerminalCatalog::automatic(), std::nullopt);
    EXPECT_TRUE(TerminalCatalog::installed().empty());
}

TEST_F(TerminalCatalogTest, InstalledTerminalsComeInTheLaunchersOrder) {
    bundle(tree.systemApplications / "Utilities", "Terminal.app", "com.apple.Terminal");
    bundle(tree.applications, "iTerm.app", "com.googlecode.iterm2");
    EXPECT_EQ(TerminalCatalog::automatic(), (AppEntry{"com.googlecode.iterm2", "iTerm"}));
    EXPECT_EQ(TerminalCatalog::installed(),
              (std::vector<AppEntry>{{"com.googlecode.iterm2", "iTerm"},
                                     {"com.apple.Terminal", "Terminal"}}));
}

}  // namespace
}  // namespace kelvo
