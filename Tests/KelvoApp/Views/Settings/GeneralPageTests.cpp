// The General tab as laid out in the window: its cards and rows, the desktop counter within
// 1 to 9 and its live range text, the switches writing once per click, and the login-item row
// that this unbundled test program shows dimmed with its switch out of use.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/GeneralPage.h"
#include "Support/KelvoApp/SettingsPageFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class GeneralPageTest : public SettingsPageFixture {
  protected:
    LaidOutPage page{[this] { return GeneralPage(model).body(); }};

    /// The upper or lower arrow of the desktop counter.
    bool step(bool up) {
        const LayoutNode& stepper = page.role(page.id("desktopCount"), "stepper");
        return page.click(CGPoint{stepper.frame.midX(),
                                  up ? stepper.frame.minY() + 2 : stepper.frame.maxY() - 2});
    }
};

TEST_F(GeneralPageTest, ListsItsThreeCardsWithTheirRowsAndControls) {
    EXPECT_EQ(page.outline(), (std::vector<std::string>{
                                  "DESKTOPS", "desktopCount", "switchHUD", "followActivation",
                                  "MENU BAR", "focusedAppInMenuBar", "STARTUP", "openAtLogin"}));
    for (const char* id : {"switchHUD", "followActivation"})
        EXPECT_EQ(page.role(page.id(id), "switch").element->value, "1") << id;
    EXPECT_EQ(page.role(page.id("focusedAppInMenuBar"), "switch").element->value, "0");
    const LayoutNode& desktops = page.id("desktopCount");
    EXPECT_TRUE(desktops.findText("9"));
    EXPECT_TRUE(desktops.findText("⌥1 through ⌥9 switch between them."));
}

TEST_F(GeneralPageTest, TheDesktopCounterStaysWithinOneToNineAndItsRangeTextFollows) {
    step(true);
    EXPECT_TRUE(writes.empty()) << "nine is the most";
    step(false);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].desktopCount, 8);
    EXPECT_TRUE(page.id("desktopCount").findText("⌥1 through ⌥8 switch between them."));

    given([](Config& config) {
        config.desktopCount = 1;
        config.primaryModifier = Modifier::control;
    });
    page.refresh();
    step(false);
    EXPECT_TRUE(writes.empty()) << "one is the fewest";
    // The option sign stays whatever the primary modifier.
    EXPECT_TRUE(page.id("desktopCount").findText("⌥1 through ⌥1 switch between them."));
}

TEST_F(GeneralPageTest, EachSwitchWritesItsOwnFieldOncePerClick) {
    page.click(page.role(page.id("switchHUD"), "switch"));
    page.click(page.role(page.id("followActivation"), "switch"));
    page.click(page.role(page.id("focusedAppInMenuBar"), "switch"));
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_FALSE(writes[0].showSwitchHUD);
    EXPECT_TRUE(writes[0].followActivationToDesktop);
    EXPECT_FALSE(writes[1].followActivationToDesktop);
    EXPECT_TRUE(writes[2].showFocusedAppName);
    EXPECT_EQ(page.role(page.id("focusedAppInMenuBar"), "switch").element->value, "1");
}

TEST_F(GeneralPageTest, InABundleTheLoginSwitchRegistersAndShowsTheRefusalAsACaution) {
    ASSERT_TRUE(model.isBundled);
    model.refreshLoginItem();
    page.refresh();
    EXPECT_DOUBLE_EQ(page.id("openAtLogin").opacity, 1);
    EXPECT_FALSE(page.id("openAtLogin").findText("bundled app only"));
    page.click(page.role(page.id("openAtLogin"), "switch"));
    EXPECT_EQ(model.loginItemStatus.get(), SMAppService::Status::enabled);
    EXPECT_EQ(page.role(page.id("openAtLogin"), "switch").element->value, "1");
    EXPECT_TRUE(LaidOutPage::words(page.id("openAtLogin"), "macOS starts Kelvo when you log in."));

    desktop->setLoginItemPolicy(ownBundleID, sim::LoginItemPolicy::refuses);
    page.click(page.role(page.id("openAtLogin"), "switch"));
    const LayoutNode* caution =
        LaidOutPage::words(page.id("openAtLogin"), "macOS refused: Operation not permitted");
    ASSERT_TRUE(caution);
    EXPECT_EQ(caution->color, Palette::caution());
    EXPECT_TRUE(writes.empty()) << "the login item is no setting of the file";
}

TEST_F(GeneralPageTest, OutsideABundleTheLoginRowIsDimmedToSixTenthsWithOnlyItsSwitchOutOfUse) {
    installed.registerSelf(InstalledDesktop::system(std::nullopt));
    SettingsModel unbundled(store, SystemTweakService(preferences, nullptr), folder / "kelvo.log");
    ASSERT_FALSE(unbundled.isBundled);
    LaidOutPage built([&] { return GeneralPage(unbundled).body(); });
    const LayoutNode& row = built.id("openAtLogin");
    EXPECT_DOUBLE_EQ(row.opacity, 0.6);
    EXPECT_TRUE(row.enabled);
    EXPECT_FALSE(built.role(row, "switch").enabled);
    EXPECT_TRUE(LaidOutPage::words(row, unbundled.loginItemDetail()));
    EXPECT_TRUE(row.findText("bundled app only"));
    built.click(built.role(row, "switch"));
    EXPECT_TRUE(desktop->loginItems().empty());
}

TEST_F(GeneralPageTest, AwaitingApprovalTheLoginRowOffersTheLoginItemsPaneInsteadOfTheSwitch) {
    model.loginItemStatus = SMAppService::Status::requiresApproval;
    page.refresh();
    const LayoutNode& row = page.id("openAtLogin");
    EXPECT_FALSE(row.findRole("switch"));
    EXPECT_EQ(page.role(row, "button").element->label, "Open Login Items…");
}

}  // namespace
}  // namespace kelvo
