// The System page's tweak switches through the settings model: the records follow the tweak
// service whatever the outcome, and the outcomes become the page's notice.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Support/KelvoApp/SettingsModelFixture.h"

namespace kelvo {
namespace {

SystemTweak tweak(const std::string& id) {
    return *SystemTweakCatalog::tweak(id);
}

class TweakSwitchesTest : public SettingsModelFixture {};

TEST_F(TweakSwitchesTest, ATweakWhoseWriteDoesNotTakeLeavesTheConfigurationAsItWas) {
    SettingsModel& settings = model();
    const Config before = settings.config();
    prefs->ignoreWrites("NSGlobalDomain", "NSWindowResizeTime");
    settings.set(tweak("windowResizeTime"), true);
    ASSERT_TRUE(settings.tweakNotice->has_value());  // its text and switch: the System page's
    EXPECT_EQ(settings.config(), before);

    // A change that works clears the notice.
    settings.set(tweak("windowAnimations"), true);
    EXPECT_TRUE(settings.isOn(tweak("windowAnimations")));
    EXPECT_TRUE(store->config().systemTweaks.contains("windowAnimations"));
    EXPECT_FALSE(settings.tweakNotice->has_value());
}

TEST_F(TweakSwitchesTest, ATweakThatCannotBePutBackStaysOn) {
    SettingsModel& settings = model();
    settings.set(tweak("dockAutohideDelay"), true);
    EXPECT_EQ(dockRestarts, 1);
    prefs->ignoreWrites("com.apple.dock", "autohide-delay");
    settings.set(tweak("dockAutohideDelay"), false);
    EXPECT_TRUE(settings.isOn(tweak("dockAutohideDelay")));
    EXPECT_EQ(settings.tweakNotice.get(),
              std::optional<std::string>("macOS would not let Kelvo restore com.apple.dock "
                                         "autohide-delay. Nothing was changed."));
}

TEST_F(TweakSwitchesTest, AValueThatCannotBeDescribedIsLeftAlone) {
    SettingsModel& settings = model();
    prefs->seed("NSGlobalDomain", "ApplePressAndHoldEnabled", PreferenceValue::unrepresentable());
    settings.set(tweak("pressAndHold"), true);
    EXPECT_EQ(settings.tweakNotice.get(),
              std::optional<std::string>(
                  "NSGlobalDomain ApplePressAndHoldEnabled already holds a value Kelvo cannot "
                  "describe, so it will not overwrite something it could not put back. Left "
                  "alone."));
    EXPECT_FALSE(settings.isOn(tweak("pressAndHold")));
}

TEST_F(TweakSwitchesTest, RevertingAllNamesWhatCouldNotBePutBackInOrderOfTheirIds) {
    SettingsModel& settings = model();
    settings.revertAllTweaks();
    EXPECT_FALSE(settings.tweakNotice->has_value());

    for (const char* id : {"windowResizeTime", "dockAutohideTime", "windowAnimations"})
        settings.set(tweak(id), true);
    prefs->ignoreWrites("NSGlobalDomain", "NSWindowResizeTime");
    prefs->ignoreWrites("com.apple.dock", "autohide-time-modifier");
    settings.revertAllTweaks();
    EXPECT_EQ(settings.tweakNotice.get(),
              std::optional<std::string>("Could not put autohide-time-modifier, "
                                         "NSWindowResizeTime back. Kelvo is still holding the "
                                         "record, so you can try again."));
    EXPECT_TRUE(settings.isOn(tweak("windowResizeTime")));
    EXPECT_TRUE(settings.isOn(tweak("dockAutohideTime")));
    EXPECT_FALSE(settings.isOn(tweak("windowAnimations")));
    EXPECT_EQ(store->config().systemTweaks.size(), 2U);
}

}  // namespace
}  // namespace kelvo
