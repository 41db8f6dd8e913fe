#include <gtest/gtest.h>

#include "KelvoApp/Applications/AppCatalog.h"
#include "KelvoApp/Applications/AppDisplayNames.h"
#include "KelvoApp/Applications/TerminalCatalog.h"
#include "Support/Platform/InstalledApplicationsFixture.h"

namespace kelvo {
namespace {

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
