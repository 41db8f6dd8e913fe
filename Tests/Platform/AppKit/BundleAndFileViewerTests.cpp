#include <gtest/gtest.h>

#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSProcessInfo.h"
#include "Platform/AppKit/NSWindowController.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class BundleTests : public DesktopFixture {
  protected:
    /// Registers this process again, as described.
    void reregister(std::optional<std::string> bundlePath, std::string executablePath,
                    std::map<std::string, std::string> info = {}) {
        sim::ApplicationSpec self = InstalledDesktop::system(std::move(bundlePath));
        self.executablePath = std::move(executablePath);
        self.infoDictionary = std::move(info);
        installed.registerSelf(self);
    }
};

TEST_F(BundleTests, TheMainBundleIsTheApplicationBundleThisProcessRunsFrom) {
    EXPECT_EQ(NSBundle::mainBundle().bundleURL(), "/Applications/Kelvo.app");
    EXPECT_EQ(NSBundle::mainBundle().bundleIdentifier(), ownBundleID);
    EXPECT_EQ(NSBundle::mainBundle().objectForInfoDictionaryKey("CFBundleVersion"), std::nullopt);
}

TEST_F(BundleTests, ABareProgramsBundleIsItsExecutablesFolder) {
    reregister(std::nullopt, "/home/dev/build/KelvoApp");
    EXPECT_EQ(NSBundle::mainBundle().bundleURL(), "/home/dev/build");
}

TEST_F(BundleTests, AProgramInsideAnApplicationBundleRunsFromThatBundleWhoeverStartedIt) {
    reregister(std::nullopt, "/home/dev/Kelvo.app/Contents/MacOS/KelvoApp");
    EXPECT_EQ(NSBundle::mainBundle().bundleURL(), "/home/dev/Kelvo.app");
    reregister(std::nullopt, "/home/dev/Kelvo/Contents/MacOS/KelvoApp");
    EXPECT_EQ(NSBundle::mainBundle().bundleURL(), "/home/dev/Kelvo/Contents/MacOS");
}

TEST_F(BundleTests, InformationStringsComeFromTheBundle) {
    reregister("/Applications/Kelvo.app", "/Applications/Kelvo.app/Contents/MacOS/KelvoApp",
               {{"CFBundleShortVersionString", "2.0"}, {"CFBundleVersion", "2001"}});
    EXPECT_EQ(NSBundle::mainBundle().objectForInfoDictionaryKey("CFBundleShortVersionString"),
              "2.0");
    EXPECT_EQ(NSBundle::mainBundle().objectForInfoDictionaryKey("CFBundleVersion"), "2001");
    EXPECT_EQ(NSBundle::mainBundle().objectForInfoDictionaryKey("cfbundleversion"), std::nullopt);
}

TEST_F(BundleTests, TheSystemVersionIsTheDesktops) {
    EXPECT_EQ(NSProcessInfo::processInfo().operatingSystemVersionString(),
              "Version 14.5 (Build 23F79)");
    desktop->setOperatingSystemVersion("Version 15.1 (Build 24B83)");
    EXPECT_EQ(NSProcessInfo::processInfo().operatingSystemVersionString(),
              "Version 15.1 (Build 24B83)");
}

TEST_F(BundleTests, RevealedItemsOpenAFileViewerEachTime) {
    NSWorkspace::sharedWorkspace().activateFileViewerSelectingURLs({"/Users/me/Desktop/a"});
    NSWorkspace::sharedWorkspace().activateFileViewerSelectingURLs({"/tmp/b", "/tmp/c"});
    EXPECT_EQ(desktop->fileViewerSelections(), (std::vector<std::vector<std::string>>{
                                                   {"/Users/me/Desktop/a"}, {"/tmp/b", "/tmp/c"}}));
}

class Controller final : public NSWindowController {
  public:
    using NSWindowController::NSWindowController;
    std::string className() const override { return "TestWindowController"; }
};

TEST_F(BundleTests, WindowsKnowTheirControllerAndTheApplicationListsThemInOrder) {
    auto& app = NSApplication::sharedApplication();
    int updates = 0;
    const auto token = NSNotificationCenter::defaultCenter().addObserver(
        NSApplicationDidUpdateNotification, nullptr, nullptr,
        [&](const NSNotification&) { ++updates; });
    {
        NSWindow plain(CGRect(0, 0, 100, 100), NSWindowStyleMaskTitled, NSBackingStoreBuffered,
                       false);
        Controller controlled(std::make_unique<NSWindow>(
            CGRect(10, 10, 200, 100), NSWindowStyleMaskTitled, NSBackingStoreBuffered, false));
        EXPECT_EQ(app.windows(), (std::vector<NSWindow*>{&plain, controlled.window()}));
        EXPECT_EQ(plain.windowController(), nullptr);
        EXPECT_EQ(controlled.window()->windowController(), &controlled);
        settle();
        updates = 0;

        controlled.showWindow(nullptr);
        controlled.window()->setFrameOrigin({50, 60});
        EXPECT_EQ(updates, 0);  // on the next turn of the main loop
        settle();
        EXPECT_GT(updates, 0);
        EXPECT_EQ(controlled.window()->frame(), CGRect(50, 60, 200, 100));
        EXPECT_TRUE(controlled.window()->isVisible());
    }
    EXPECT_TRUE(app.windows().empty());
    NSNotificationCenter::defaultCenter().removeObserver(token);
}

}  // namespace
}  // namespace kelvo
