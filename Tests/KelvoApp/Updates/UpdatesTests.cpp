#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "Base/Foundation/ManualClock.h"
#include "Base/Foundation/NSUserDefaults.h"
#include "KelvoApp/Updates/Updates.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSWindowController.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

/// A window of the program's own, such as the settings window.
class SettingsController final : public NSWindowController {
  public:
    SettingsController()
        : NSWindowController(std::make_unique<NSWindow>(
              CGRect(30, 40, 600, 400), NSWindowStyleMaskTitled, NSBackingStoreBuffered, false)) {}
    std::string className() const override { return "SettingsWindowController"; }
};

/// A desktop with one 1440 × 900 display on the manual clock, on which this process runs
/// either from its application bundle or as a bare program in a build folder.
class UpdatesTest : public ::testing::Test {
  protected:
    void SetUp() override { clearSavedFrames(); }
    void TearDown() override {
        clock.runUntilIdle();
        clearSavedFrames();
    }

    void runFromBundle() {
        installed.registerSelf(InstalledDesktop::system(InstalledDesktop::ownBundlePath));
    }
    void runFromBuildFolder() {
        sim::ApplicationSpec self = InstalledDesktop::system(std::nullopt);
        self.bundleID = std::nullopt;
        self.executablePath = "/home/dev/kelvo/build/Sources/KelvoApp/KelvoApp";
        installed.registerSelf(self);
    }
    static void clearSavedFrames() {
        auto& defaults = NSUserDefaults::standardUserDefaults();
        for (const auto& [key, value] : defaults.dictionaryRepresentation())
            defaults.removeObjectForKey(key);
    }
    static std::size_t observers() { return NSNotificationCenter::defaultCenter().observerCount(); }
    /// The updater's status window, null when it has none.
    static NSWindow* statusWindow(const Updates& updates) {
        const auto* controller = updates.controller();
        return controller && controller->statusController()
                   ? controller->statusController()->window()
                   : nullptr;
    }

    ManualClock clock;
    InstalledDesktop installed{CGRect(0, 0, 1440, 900)};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
};

// The screen's visible frame in the framework's coordinates is (0, 0, 1440, 875): the menu
// bar takes 25 points at the top. A 420 × 150 window goes centred across, its top 175 below
// the visible top.
constexpr CGPoint placedOnMainScreen{510, 550};

TEST(UpdatesPlacement, CentredAcrossAFifthBelowTheTopNeverBelowTheBottom) {
    const CGRect visible(0, 0, 1600, 1000);
    EXPECT_EQ(Updates::placementOrigin(visible, {400, 300}), (CGPoint{600, 500}));
    EXPECT_EQ(Updates::placementOrigin(visible, {400, 900}), (CGPoint{600, 0}));
    EXPECT_EQ(Updates::placementOrigin(CGRect(100, 200, 1000, 1000), {200, 900}),
              (CGPoint{500, 200}));
    EXPECT_EQ(Updates::placementOrigin(CGRect(100, 200, 1000, 1000), {200, 100}),
              (CGPoint{500, 900}));
}

TEST(UpdatesPlacement, OnlyTheUpdatersControllersCount) {
    EXPECT_TRUE(Updates::isUpdaterController("SUStatusController"));
    EXPECT_TRUE(Updates::isUpdaterController("SPUUpdateAlertWindowController"));
    EXPECT_TRUE(Updates::isUpdaterController("SU"));
    EXPECT_FALSE(Updates::isUpdaterController("SettingsWindowController"));
    EXPECT_FALSE(Updates::isUpdaterController("GuideWindowController"));
    EXPECT_FALSE(Updates::isUpdaterController("suStatusController"));
    EXPECT_FALSE(Updates::isUpdaterController("NSWindowController"));
    EXPECT_FALSE(Updates::isUpdaterController(""));
}

TEST_F(UpdatesTest, ANewHolderHasNothing) {
    const Updates updates;
    EXPECT_FALSE(updates.started());
    EXPECT_EQ(updates.controller(), nullptr);
    EXPECT_FALSE(updates.updateObserver());
    EXPECT_TRUE(updates.placed().empty());
}

TEST_F(UpdatesTest, ABareProgramNeverMakesAnUpdater) {
    runFromBuildFolder();
    EXPECT_EQ(NSBundle::mainBundle().bundleURL(), "/home/dev/kelvo/build/Sources/KelvoApp");
    const std::size_t before = observers();
    Updates updates;
    updates.start();
    EXPECT_TRUE(updates.started());
    EXPECT_EQ(updates.controller(), nullptr);
    updates.checkNow();
    updates.start();
    clock.runUntilIdle();
    EXPECT_EQ(updates.controller(), nullptr);
    EXPECT_FALSE(updates.updateObserver());
    EXPECT_EQ(observers(), before);
    EXPECT_TRUE(NSApplication::sharedApplication().windows().empty());
}

TEST_F(UpdatesTest, CheckingNowFromABareProgramOpensNothing) {
    runFromBuildFolder();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    EXPECT_TRUE(updates.started());
    EXPECT_EQ(updates.controller(), nullptr);
    EXPECT_TRUE(NSApplication::sharedApplication().windows().empty());
}

TEST_F(UpdatesTest, StartingTwiceMakesOneUpdaterAndOneObserver) {
    runFromBundle();
    const std::size_t before = observers();
    Updates updates;
    updates.start();
    SPUStandardUpdaterController* first = updates.controller();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->updater().started());
    EXPECT_TRUE(updates.updateObserver());
    updates.start();
    updates.checkNow();
    EXPECT_EQ(updates.controller(), first);
    EXPECT_EQ(observers(), before + 1);
}

TEST_F(UpdatesTest, StartingOpensNoWindowAndAHolderThatGoesTakesItsObserver) {
    runFromBundle();
    const std::size_t before = observers();
    {
        Updates updates;
        updates.start();
        clock.runUntilIdle();
        EXPECT_EQ(statusWindow(updates), nullptr);
        EXPECT_TRUE(NSApplication::sharedApplication().windows().empty());
    }
    EXPECT_EQ(observers(), before);
}

TEST_F(UpdatesTest, RememberedUpdaterFramesAreForgottenOthersKept) {
    auto& defaults = NSUserDefaults::standardUserDefaults();
    defaults.setObject(std::string("5 5 420 150"), "NSWindow Frame SUStatusFrame");
    defaults.setObject(std::string("1 2 3 4"), "NSWindow Frame SUUpdateAlert");
    defaults.setObject(std::string("10 10 600 400"), "NSWindow Frame Settings");
    defaults.setObject(std::string("x"), "SUEnableAutomaticChecks");
    runFromBundle();
    Updates updates;
    updates.start();
    EXPECT_FALSE(defaults.objectForKey("NSWindow Frame SUStatusFrame"));
    EXPECT_FALSE(defaults.objectForKey("NSWindow Frame SUUpdateAlert"));
    EXPECT_TRUE(defaults.objectForKey("NSWindow Frame Settings"));
    EXPECT_TRUE(defaults.objectForKey("SUEnableAutomaticChecks"));
}

TEST_F(UpdatesTest, OutsideABundleRememberedFramesStay) {
    NSUserDefaults::standardUserDefaults().setObject(std::string("5 5 420 150"),
                                                     "NSWindow Frame SUStatusFrame");
    runFromBuildFolder();
    Updates updates;
    updates.start();
    EXPECT_TRUE(
        NSUserDefaults::standardUserDefaults().objectForKey("NSWindow Frame SUStatusFrame"));
}

TEST_F(UpdatesTest, ACheckNowStartsFirstAndItsWindowIsPlacedUnderThePointer) {
    runFromBundle();
    Updates updates;
    updates.checkNow();
    ASSERT_TRUE(updates.started());
    NSWindow* window = statusWindow(updates);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frame().origin, (CGPoint{0, 0}));  // where it opens by itself
    clock.runUntilIdle();
    EXPECT_EQ(window->frame(), CGRect(placedOnMainScreen, {420, 150}));
    EXPECT_EQ(updates.placed(), (std::set<const NSWindow*>{window}));
}

TEST_F(UpdatesTest, AWindowIsPlacedOnTheScreenUnderThePointer) {
    desktop->addDisplay(CGRect(1440, 0, 1920, 1080));
    desktop->movePointer({2000, 500});
    runFromBundle();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    // The second screen in the framework's coordinates: (1440, -180, 1920, 1080), visible
    // (1440, -180, 1920, 1055).
    EXPECT_EQ(statusWindow(updates)->frame().origin, (CGPoint{2190, 514}));
}

TEST_F(UpdatesTest, APointerOffEveryScreenMeansTheMainScreen) {
    desktop->addDisplay(CGRect(1440, 0, 1920, 1080));
    desktop->movePointer({-500, -500});
    runFromBundle();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    EXPECT_EQ(statusWindow(updates)->frame().origin, placedOnMainScreen);
}

TEST_F(UpdatesTest, APlacedWindowIsLeftWhereTheUserPutsIt) {
    runFromBundle();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    NSWindow* window = statusWindow(updates);
    window->setFrameOrigin({40, 60});
    clock.runUntilIdle();
    updates.checkNow();  // brings the open window forward
    clock.runUntilIdle();
    EXPECT_EQ(window->frame().origin, (CGPoint{40, 60}));
    EXPECT_EQ(statusWindow(updates), window);
}

TEST_F(UpdatesTest, AClosedWindowOpenedAgainIsPlacedAgain) {
    runFromBundle();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    statusWindow(updates)->setFrameOrigin({40, 60});
    clock.runUntilIdle();
    updates.controller()->statusController()->close();
    clock.runUntilIdle();
    // The updater remembered where its window was; it opens there and is placed again.
    EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("NSWindow Frame SUStatusFrame"),
              "40 60 420 150");
    updates.checkNow();
    NSWindow* reopened = statusWindow(updates);
    EXPECT_EQ(reopened->frame().origin, (CGPoint{40, 60}));
    clock.runUntilIdle();
    EXPECT_EQ(reopened->frame().origin, placedOnMainScreen);
    EXPECT_EQ(updates.placed(), (std::set<const NSWindow*>{reopened}));
}

TEST_F(UpdatesTest, TheProgramsOwnWindowsAreNeverMoved) {
    runFromBundle();
    Updates updates;
    updates.start();
    SettingsController settings;
    settings.showWindow(nullptr);
    NSWindow bare(CGRect(70, 80, 300, 200), NSWindowStyleMaskTitled, NSBackingStoreBuffered, false);
    bare.orderFront(nullptr);
    clock.runUntilIdle();
    EXPECT_EQ(settings.window()->frame(), CGRect(30, 40, 600, 400));
    EXPECT_EQ(bare.frame(), CGRect(70, 80, 300, 200));
    EXPECT_TRUE(updates.placed().empty());
}

TEST_F(UpdatesTest, AnUpdaterWindowIsPlacedOnlyOnceItIsVisible) {
    runFromBundle();
    Updates updates;
    updates.start();
    SUStatusController hidden;  // made, not yet shown
    clock.runUntilIdle();
    EXPECT_EQ(hidden.window()->frame().origin, (CGPoint{0, 0}));
    EXPECT_TRUE(updates.placed().empty());
    hidden.showWindow(nullptr);
    clock.runUntilIdle();
    EXPECT_EQ(hidden.window()->frame().origin, placedOnMainScreen);
}

TEST_F(UpdatesTest, WithoutAScreenAWindowStaysButCountsAsPlaced) {
    desktop->removeDisplay(1);
    runFromBundle();
    Updates updates;
    updates.checkNow();
    clock.runUntilIdle();
    NSWindow* window = statusWindow(updates);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->frame().origin, (CGPoint{0, 0}));
    EXPECT_EQ(updates.placed(), (std::set<const NSWindow*>{window}));
}

}  // namespace
}  // namespace kelvo
