#include <gtest/gtest.h>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "Support/Base/DecodeText.h"

namespace kelvo {
namespace {

TEST(SystemTweakCatalog, FiveTweaksInOrderWithTheirKeysAndValues) {
    struct Row {
        const char* id;
        const char* domain;
        const char* key;
        PreferenceValue onValue;
        TweakEffect effect;
        bool hasCaution;
    };
    const Row rows[] = {
        {"windowAnimations", "NSGlobalDomain", "NSAutomaticWindowAnimationsEnabled",
         PreferenceValue::bool_(false), TweakEffect::appRestart, false},
        {"windowResizeTime", "NSGlobalDomain", "NSWindowResizeTime", PreferenceValue::number(0.001),
         TweakEffect::appRestart, false},
        {"pressAndHold", "NSGlobalDomain", "ApplePressAndHoldEnabled",
         PreferenceValue::bool_(false), TweakEffect::appRestart, true},
        {"dockAutohideDelay", "com.apple.dock", "autohide-delay", PreferenceValue::number(0),
         TweakEffect::dockRestart, true},
        {"dockAutohideTime", "com.apple.dock", "autohide-time-modifier", PreferenceValue::number(0),
         TweakEffect::dockRestart, false},
    };
    const auto& all = SystemTweakCatalog::all();
    ASSERT_EQ(all.size(), std::size(rows));
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(rows[i].id);
        EXPECT_EQ(all[i].id, rows[i].id);
        EXPECT_EQ(all[i].domain, rows[i].domain);
        EXPECT_EQ(all[i].key, rows[i].key);
        EXPECT_EQ(all[i].onValue, rows[i].onValue);
        EXPECT_EQ(all[i].effect, rows[i].effect);
        EXPECT_EQ(all[i].caution.has_value(), rows[i].hasCaution);
    }
    // The resize time is a thousandth of a second, never 0.
    EXPECT_NE(all[1].onValue, PreferenceValue::number(0));
    EXPECT_EQ(&SystemTweakCatalog::all(), &all);
}

TEST(SystemTweakCatalog, LookUpById) {
    EXPECT_FALSE(SystemTweakCatalog::tweak("nope"));
    EXPECT_FALSE(SystemTweakCatalog::tweak(""));
    EXPECT_FALSE(SystemTweakCatalog::tweak("PressAndHold"));
    const auto pressAndHold = SystemTweakCatalog::tweak("pressAndHold");
    ASSERT_TRUE(pressAndHold);
    EXPECT_EQ(*pressAndHold, SystemTweakCatalog::all()[2]);
    EXPECT_EQ(pressAndHold->title, "Key repeat instead of accents");
    EXPECT_EQ(pressAndHold->caution,
              "You lose the hold-to-accent picker, so é and ü have to be typed another way.");
}

TEST(SystemTweakCatalog, DomainsAndTheReduceMotionPane) {
    EXPECT_STREQ(SystemTweakCatalog::globalDomain, "NSGlobalDomain");
    EXPECT_STREQ(SystemTweakCatalog::dockDomain, "com.apple.dock");
    EXPECT_STREQ(SystemTweakCatalog::reduceMotionPaneURL,
                 "x-apple.systempreferences:com.apple.preference.universalaccess?Seeing_Display");
    for (const SystemTweak& tweak : SystemTweakCatalog::all()) {
        EXPECT_NE(tweak.key, "reduceMotion") << "Reduce Motion is never written";
    }
}

TEST(TweakEffect, RawValuesBadgesAndJSON) {
    const std::tuple<TweakEffect, const char*, const char*> rows[] = {
        {TweakEffect::now, "now", "now"},
        {TweakEffect::appRestart, "appRestart", "on app restart"},
        {TweakEffect::dockRestart, "dockRestart", "on Dock restart"},
        {TweakEffect::logout, "logout", "on logout"},
    };
    for (const auto& [effect, raw, text] : rows) {
        EXPECT_EQ(rawValue(effect), raw);
        EXPECT_EQ(badge(effect), text);
        EXPECT_EQ(tweakEffectFromRawValue(raw), effect);
        EXPECT_EQ(JSONWriter::write(encodeJSON(effect)), std::string("\"") + raw + "\"");
        EXPECT_EQ(testing::decodeText<TweakEffect>(std::string("\"") + raw + "\""), effect);
    }
    EXPECT_FALSE(tweakEffectFromRawValue("on logout"));
    EXPECT_THROW(testing::decodeText<TweakEffect>(R"("DockRestart")"), DecodingError);
    EXPECT_THROW(testing::decodeText<TweakEffect>("1"), DecodingError);
}

}  // namespace
}  // namespace kelvo
