#include <gtest/gtest.h>

#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSFileManager.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Support/Platform/InstalledApplicationsFixture.h"

namespace kelvo {
namespace {

using InstalledApplicationsTest = InstalledApplicationsFixture;

TEST_F(InstalledApplicationsTest, ABundleReadsItsInformationDictionary) {
    const auto path = tree.install(tree.applications, "Editor.app",
                                   BundleContents{.bundleID = "com.example.editor",
                                                  .displayName = "The Editor",
                                                  .executable = "#!/bin/sh\n"});
    const auto bundle = NSBundle::bundleWithURL(path);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle->bundleURL(), path);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.editor");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleDisplayName"), "The Editor");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleExecutable"), "Editor");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("NoSuchKey"), std::nullopt);

    std::filesystem::create_directories(tree.applications / "Empty.app");
    EXPECT_EQ(NSBundle::bundleWithURL(tree.applications / "Empty.app"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithURL(tree.applications / "Missing.app"), nullptr);
}

TEST_F(InstalledApplicationsTest, SystemFoldersLieBelowTheDesktopsRoot) {
    auto& files = NSFileManager::defaultManager();
    EXPECT_EQ(files.URLForSystemPath("/Applications"), tree.applications);
    EXPECT_EQ(files.URLForSystemPath("/System/Applications"), tree.systemApplications);
    EXPECT_EQ(files.homeDirectoryForCurrentUser(), tree.home);
}

TEST_F(InstalledApplicationsTest, ListingLeavesHiddenFilesOutAndTellsFoldersApart) {
    bundle(tree.applications, "B.app", "com.example.b");
    bundle(tree.applications, ".Secret.app", "com.example.secret");
    std::filesystem::create_directories(tree.applications / "Utilities");
    std::filesystem::create_directory_symlink(tree.applications / "Utilities",
                                              tree.applications / "Link");
    auto& files = NSFileManager::defaultManager();
    const auto listed = files.contentsOfDirectoryAtURL(
        tree.applications,
        NSDirectoryEnumerationSkipsHiddenFiles | NSDirectoryEnumerationSkipsPackageDescendants);
    ASSERT_TRUE(listed);
    EXPECT_EQ(*listed, (std::vector<std::filesystem::path>{tree.applications / "B.app",
                                                           tree.applications / "Link",
                                                           tree.applications / "Utilities"}));
    EXPECT_EQ(files.contentsOfDirectoryAtURL(tree.applications, 0)->size(), 4u);
    EXPECT_EQ(files.contentsOfDirectoryAtURL(tree.root / "nowhere", 0), std::nullopt);
    EXPECT_EQ(files.isDirectoryResourceValue(tree.applications / "Utilities"), true);
    EXPECT_EQ(files.isDirectoryResourceValue(tree.applications / "Link"), false);
    EXPECT_EQ(files.isDirectoryResourceValue(tree.applications / "nowhere"), std::nullopt);
}

TEST_F(InstalledApplicationsTest, DisplayNamesHideTheApplicationExtensionUnlessAllAreShown) {
    auto& files = NSFileManager::defaultManager();
    EXPECT_EQ(files.displayNameAtPath(tree.applications / "Safari.app"), "Safari");
    EXPECT_EQ(files.displayNameAtPath(tree.home / "notes.txt"), "notes.txt");
    showAllExtensions(true);
    EXPECT_EQ(files.displayNameAtPath(tree.applications / "Safari.app"), "Safari.app");
}

TEST_F(InstalledApplicationsTest, TheWorkspaceFindsInstalledBundlesAndOpensThem) {
    auto& workspace = NSWorkspace::sharedWorkspace();
    const auto agent = tree.install(
        tree.applications / "Utilities", "Agent.app",
        BundleContents{.bundleID = "com.example.agent", .name = "Agent Name", .agent = true});
    bundle(tree.userApplications, "Agent Copy.app", "com.example.agent");
    EXPECT_EQ(workspace.URLForApplicationWithBundleIdentifier("com.example.agent"), agent.string());
    EXPECT_EQ(workspace.URLForApplicationWithBundleIdentifier("com.example.none"), std::nullopt);

    workspace.openApplicationAtURL(agent.string(), {});
    const auto apps =
        NSRunningApplication::runningApplicationsWithBundleIdentifier("com.example.agent");
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0]->localizedName(), "Agent Name");
    EXPECT_EQ(apps[0]->bundleURL(), agent.string());
    EXPECT_EQ(apps[0]->activationPolicy(), NSApplicationActivationPolicyAccessory);
    EXPECT_EQ(apps[0]->executableURL(), (agent / "Contents/MacOS/Agent Name").string());
}

TEST_F(InstalledApplicationsTest, ABundleWhoseProcessCannotStartIsRefusedWithTheReason) {
    // As the desktop's server starts bundles: a process of their own, here one made up.
    std::vector<std::string> started;
    sim::Pid next = 90001;
    desktop->setProcessStarter([&](const sim::ApplicationBundle& bundle) -> sim::Pid {
        started.push_back(bundle.name());
        return bundle.name() == "Stuck" ? 0 : next;
    });
    const auto exec = [](const std::string& bundleID, const std::string& name) {
        return BundleContents{
            .bundleID = bundleID, .name = name, .executable = "#!/bin/sh\nexit 0\n"};
    };
    const auto hollow = tree.install(tree.applications, "Hollow.app",
                                     BundleContents{.bundleID = "com.example.hollow"});
    const auto locked =
        tree.install(tree.applications, "Locked.app", exec("com.example.locked", "Locked"));
    std::filesystem::permissions(
        locked / "Contents/MacOS/Locked",
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto stuck =
        tree.install(tree.applications, "Stuck.app", exec("com.example.stuck", "Stuck"));
    const auto fine = tree.install(tree.applications, "Fine.app", exec("com.example.fine", "Fine"));

    const auto open = [](const std::filesystem::path& path) {
        std::optional<std::string> error;
        NSRunningApplicationRef opened;
        NSWorkspace::sharedWorkspace().openApplicationAtURL(
            path.string(), {}, [&](NSRunningApplicationRef app, std::optional<std::string> e) {
                opened = app;
                error = e;
            });
        EXPECT_EQ(opened == nullptr, error.has_value()) << path;
        return error.value_or("opened");
    };
    EXPECT_EQ(open(hollow),
              "The application “Hollow” can’t be opened because its executable is missing.");
    EXPECT_EQ(open(locked),
              "The application “Locked” can’t be opened because you don’t have "
              "permission to run its executable.");
    EXPECT_EQ(open(stuck),
              "The application “Stuck” can’t be opened because its executable could not be "
              "started.");
    EXPECT_EQ(open(tree.applications / "Missing.app"),
              "The file “Missing.app” couldn’t be opened because there is no such file.");
    std::filesystem::create_directories(tree.applications / "Empty.app");
    EXPECT_EQ(open(tree.applications / "Empty.app"),
              "The application “Empty” can’t be opened because it may be damaged or incomplete.");
    // Nothing was started for a bundle that cannot run, and none of them is listed.
    EXPECT_EQ(started, std::vector<std::string>{"Stuck"});
    for (const char* name : {"hollow", "locked", "stuck"}) {
        EXPECT_TRUE(NSRunningApplication::runningApplicationsWithBundleIdentifier(
                        std::string("com.example.") + name)
                        .empty())
            << name;
    }

    EXPECT_EQ(open(fine), "opened");
    const auto apps =
        NSRunningApplication::runningApplicationsWithBundleIdentifier("com.example.fine");
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0]->processIdentifier(), next);
    desktop->setProcessStarter(nullptr);
}

TEST_F(InstalledApplicationsTest, IconsAreTheBundlesOwnOrGeneric) {
    auto& workspace = NSWorkspace::sharedWorkspace();
    const auto own = tree.install(tree.applications, "Own.app",
                                  BundleContents{.bundleID = "com.example.own", .icon = true});
    const auto plain = bundle(tree.applications, "Plain.app", "com.example.plain");
    const auto ownIcon = workspace.iconForFile(own.string());
    const auto pixel = NSBitmapImageRep(ownIcon->CGImageForScale(1)).colorAtX(60, 60);
    ASSERT_NE(pixel, nullptr);
    EXPECT_GT(pixel->blueComponent(), 0.8);
    const auto generic = workspace.iconForFile(plain.string());
    const auto document = workspace.iconForFile((tree.home / "notes.txt").string());
    ASSERT_NE(generic, nullptr);
    ASSERT_NE(document, nullptr);
    for (const auto& icon : {generic, document}) {
        EXPECT_EQ(icon->size(), (CGSize{128, 128}));
        EXPECT_NE(icon->CGImageForScale(1), nullptr);
    }
    const auto tile = NSBitmapImageRep(generic->CGImageForScale(1)).colorAtX(64, 20);
    const auto sheet = NSBitmapImageRep(document->CGImageForScale(1)).colorAtX(64, 100);
    EXPECT_LT(tile->redComponent(), 0.9);
    EXPECT_GT(sheet->redComponent(), 0.9);
}

}  // namespace
}  // namespace kelvo
