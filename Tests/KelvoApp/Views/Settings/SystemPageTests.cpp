// The System page: one row per tweak with the badge of when it takes effect and a switch that
// shows what the model reports, the Reduce Motion row, and reverting every tweak after the
// desktop's confirmation.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Settings/SystemPage.h"
#include "KelvoApp/Views/Settings/TweakRows.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Support/KelvoApp/SettingsViewFixture.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

class SystemPageTest : public SettingsViewFixture {
  protected:
    void showPage() {
        show([this] { return SystemPage{model}.body(); });
    }
    /// The first node of `role` in the row of that id; throws when there is none.
    const LayoutNode& in(const std::string& row, const std::string& role) {
        const LayoutNode* found = id(row).findRole(role);
        if (!found) throw std::runtime_error("no " + role + "\n" + graph->tree().describe());
        return *found;
    }
    const LayoutNode& revertButton() { return in("revertTweaks", "button"); }
    /// "1" while the tweak's switch shows on, "0" while it shows off.
    std::string switchValue(const std::string& tweakID) {
        return in("tweak." + tweakID, "switch").element->value.value_or("");
    }
    /// Clicks the tweak's switch and gives what it shows then.
    std::string flip(const std::string& tweakID) {
        click(in("tweak." + tweakID, "switch"));
        relayout();
        return switchValue(tweakID);
    }
};

TEST_F(SystemPageTest, EachTweakRowCarriesItsBadgeAndTheRowsStandInOrder) {
    showPage();
    ASSERT_TRUE(graph->tree().findText("SYSTEM"));
    CGFloat above = 0;
    for (const SystemTweak& tweak : SystemTweakCatalog::all()) {
        const LayoutNode& row = id("tweak." + tweak.id);
        EXPECT_GT(row.frame.minY(), above);
        above = row.frame.minY();
        // The Dock's tweaks take effect when it restarts, the others when an application does.
        const char* when = tweak.domain == "com.apple.dock" ? "on Dock restart" : "on app restart";
        EXPECT_TRUE(row.findText(when)) << tweak.id;
        EXPECT_TRUE(row.findRole("switch")) << tweak.id;
    }
    const LayoutNode& reduceMotion = id("reduceMotion");
    EXPECT_GT(reduceMotion.frame.minY(), above);
    EXPECT_TRUE(reduceMotion.findText("in System Settings")) << reduceMotion.describe();
    EXPECT_GT(id("revertTweaks").frame.minY(), reduceMotion.frame.minY());
}

TEST_F(SystemPageTest, AClickFlipsATweakAndItsSwitchShowsOffWhenMacOSRefusedTheWrite) {
    showPage();
    EXPECT_EQ(switchValue("windowAnimations"), "0");
    EXPECT_EQ(flip("windowAnimations"), "1");
    EXPECT_EQ(preferences->stored("NSGlobalDomain", "NSAutomaticWindowAnimationsEnabled"),
              PreferenceValue::bool_(false));
    EXPECT_EQ(flip("windowAnimations"), "0");
    EXPECT_FALSE(preferences->stored("NSGlobalDomain", "NSAutomaticWindowAnimationsEnabled"));

    // The write is dropped: the tweak is not on, so its switch is not either, however often
    // it is clicked.
    preferences->ignoreWrites("NSGlobalDomain", "NSWindowResizeTime");
    EXPECT_EQ(flip("windowResizeTime"), "0");
    EXPECT_TRUE(graph->tree().findText(
        "macOS would not let Kelvo set NSGlobalDomain NSWindowResizeTime. Nothing was changed."));
    EXPECT_EQ(flip("windowResizeTime"), "0") << "a second try";
}

TEST_F(SystemPageTest, ReduceMotionReadsTheDesktopAndOpensItsPane) {
    showPage();
    EXPECT_TRUE(id("reduceMotion").findText("Removes the Space-change animation. Currently off."));
    desktop->setReduceMotion(true);
    show([this] { return SystemPage{model}.body(); });
    EXPECT_TRUE(id("reduceMotion").findText("Removes the Space-change animation. Currently on."));
    click(*id("reduceMotion").findRole("button"));
    const std::vector<std::string> opened = desktop->openedURLs();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], SystemTweakCatalog::reduceMotionPaneURL);
    ReduceMotionRow::openPane("not a url");
    ReduceMotionRow::openPane("");
    EXPECT_EQ(desktop->openedURLs().size(), 1u);
}

TEST_F(SystemPageTest, RevertAllAsksFirstCancelKeepsTheTweaksAndRevertAllPutsThemBack) {
    showPage();
    EXPECT_FALSE(revertButton().enabled);
    const SystemTweak& tweak = SystemTweakCatalog::all().front();
    ASSERT_EQ(flip(tweak.id), "1");
    ASSERT_EQ(preferences->stored(tweak.domain, tweak.key), tweak.onValue);
    ASSERT_TRUE(revertButton().enabled);

    desktop->answerAlerts({"Cancel"});
    click(revertButton());
    relayout();
    const std::vector<sim::AlertRecord> alerts = desktop->alerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].alert.messageText, "Put every system tweak back the way Kelvo found it?");
    EXPECT_EQ(alerts[0].alert.informativeText,
              "The toggles above all turn off, and any Dock keys take effect when the Dock "
              "restarts. Everything else applies as each application restarts.");
    EXPECT_EQ(alerts[0].alert.buttons, (std::vector<std::string>{"Revert all", "Cancel"}));
    EXPECT_EQ(switchValue(tweak.id), "1");
    EXPECT_EQ(preferences->stored(tweak.domain, tweak.key), tweak.onValue);

    desktop->answerAlerts({"Revert all"});
    click(revertButton());
    relayout();
    EXPECT_EQ(desktop->alerts().size(), 2u);
    EXPECT_EQ(switchValue(tweak.id), "0");
    // The key was absent before Kelvo set it, and is absent again.
    EXPECT_EQ(preferences->stored(tweak.domain, tweak.key), std::nullopt);
    EXPECT_FALSE(revertButton().enabled);
}

TEST_F(SystemPageTest, TheTweakNoticeStandsAboveTheRows) {
    model.tweakNotice = std::string("Something could not be written.");
    showPage();
    const LayoutNode* text = graph->tree().findText("Something could not be written.");
    ASSERT_TRUE(text);
    EXPECT_LT(text->frame.maxY(), id("tweak." + SystemTweakCatalog::all().front().id).frame.minY());
}

}  // namespace
}  // namespace kelvo
