#include <gtest/gtest.h>

#include <string>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Config/Config.h"
#include "Support/Base/DecodeText.h"

namespace kelvo {
namespace {

Config read(const std::string& text) {
    return testing::decodeText<Config>(text);
}

DecodingError readFailure(const std::string& text) {
    try {
        read(text);
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "read without failure: " << text;
    return DecodingError(DecodingError::Kind::dataCorrupted, {}, "");
}

TEST(ConfigReading, EmptyObjectGivesMissingKeyValuesNotDefaults) {
    const Config c = read("{}");
    EXPECT_EQ(c.desktopCount, 9);
    EXPECT_EQ(c.gaps, Gaps::none());
    EXPECT_TRUE(c.floatBundleIDs.empty());
    EXPECT_TRUE(c.ignoreBundleIDs.empty());
    EXPECT_EQ(c.stashDesktop, std::nullopt);
    EXPECT_EQ(c.defaultLayoutMode, LayoutMode::masterStack);
    EXPECT_EQ(c.focusBorderColor, "#FF7A60");
    EXPECT_EQ(c.focusBorderOpacity, 0.35);
    EXPECT_EQ(c.focusBorderCornerRadius, 16);

    // Exactly the three fields whose missing-key value is not the default differ.
    Config expected = Config::defaults();
    expected.ignoreBundleIDs = {};
    expected.stashDesktop = std::nullopt;
    expected.defaultLayoutMode = LayoutMode::masterStack;
    EXPECT_EQ(c, expected);
    EXPECT_NE(c, Config::defaults());
}

TEST(ConfigReading, NullReadsLikeAMissingKey) {
    EXPECT_EQ(read(R"({"desktopCount":null,"gaps":null,"ignoreBundleIDs":null,"stashDesktop":null,
                       "clickToFloat":null,"primaryModifier":null,"terminalBundleID":null,
                       "defaultLayoutMode":null,"systemTweaks":null,"launcherRecents":null})"),
              read("{}"));
}

TEST(ConfigReading, PlainKeysWithTheWrongKindFailTheWholeReading) {
    struct Row {
        const char* json;
        DecodingError::Kind kind;
        const char* path;
    };
    const Row rows[] = {
        {R"({"desktopCount":"9"})", DecodingError::Kind::typeMismatch, "desktopCount"},
        {R"({"desktopCount":2.5})", DecodingError::Kind::dataCorrupted, "desktopCount"},
        {R"({"desktopCount":1e30})", DecodingError::Kind::dataCorrupted, "desktopCount"},
        {R"({"desktopCount":9223372036854775808})", DecodingError::Kind::dataCorrupted,
         "desktopCount"},
        {R"({"clickToFloat":"yes"})", DecodingError::Kind::typeMismatch, "clickToFloat"},
        {R"({"clickToFloat":1})", DecodingError::Kind::typeMismatch, "clickToFloat"},
        {R"({"gaps":{"inner":4}})", DecodingError::Kind::keyNotFound, "gaps"},
        {R"({"gaps":[]})", DecodingError::Kind::typeMismatch, "gaps"},
        {R"({"floatBundleIDs":"com.a"})", DecodingError::Kind::typeMismatch, "floatBundleIDs"},
        {R"({"ignoreBundleIDs":["a",1]})", DecodingError::Kind::typeMismatch,
         "ignoreBundleIDs.Index 1"},
        {R"({"stashDesktop":"3"})", DecodingError::Kind::typeMismatch, "stashDesktop"},
        {R"({"primaryModifier":1})", DecodingError::Kind::typeMismatch, "primaryModifier"},
        {R"({"terminalBundleID":false})", DecodingError::Kind::typeMismatch, "terminalBundleID"},
        {R"({"focusFollowsCursorDelay":"5"})", DecodingError::Kind::typeMismatch,
         "focusFollowsCursorDelay"},
        {R"({"focusBorderColor":16742240})", DecodingError::Kind::typeMismatch, "focusBorderColor"},
        // A number too large for a double is no JSON the reader accepts at all.
        {R"({"focusBorderOpacity":1e999})", DecodingError::Kind::dataCorrupted, ""},
        {R"({"focusBorderCornerRadius":true})", DecodingError::Kind::typeMismatch,
         "focusBorderCornerRadius"},
        {R"({"guideSeen":"true"})", DecodingError::Kind::typeMismatch, "guideSeen"},
        {R"([])", DecodingError::Kind::typeMismatch, ""},
        {R"("config")", DecodingError::Kind::typeMismatch, ""},
        {R"(null)", DecodingError::Kind::valueNotFound, ""},
    };
    for (const Row& row : rows) {
        const DecodingError error = readFailure(row.json);
        EXPECT_EQ(error.kind(), row.kind) << row.json;
        EXPECT_EQ(error.pathText(), row.path) << row.json;
    }
}

TEST(ConfigReading, TolerantKeysFallBackSilently) {
    const auto missing = [] { return read("{}"); };
    const char* rows[] = {
        R"({"defaultLayoutMode":"grid"})",
        R"({"defaultLayoutMode":3})",
        R"({"layoutModes":5})",
        R"({"layoutModes":["bsp"]})",
        R"({"shortcuts":[]})",
        R"({"shortcuts":"none"})",
        R"({"launcherRecents":{"a":1}})",
        R"({"launcherRecents":["a",2,"b"]})",
        R"({"systemTweaks":7})",
        R"({"systemTweaks":[]})",
        R"({"unknownKey":{"deep":[1,2,3]}})",
    };
    for (const char* json : rows) {
        EXPECT_EQ(read(json), missing()) << json;
    }
}

TEST(ConfigReading, TolerantKeysReadWhatTheyCanSalvage) {
    const Config c = read(R"({"defaultLayoutMode":"bsp","layoutModes":{"2":"masterStack","x":"bsp"},
                             "shortcuts":{"zoom":null,"nope":{"keyCode":1,"option":true}}})");
    EXPECT_EQ(c.defaultLayoutMode, LayoutMode::bsp);
    EXPECT_EQ(c.layoutModes[2], LayoutMode::masterStack);
    EXPECT_EQ(c.layoutModes.modes.size(), 1u);
    EXPECT_EQ(c.shortcuts.override(Shortcut::zoom), ShortcutOverride::cleared());
    EXPECT_EQ(c.shortcuts.entries.size(), 1u);
}

TEST(ConfigReading, PrimaryModifierIsLenientText) {
    const std::pair<const char*, Modifier> rows[] = {
        {R"({"primaryModifier":"control"})", Modifier::control},
        {R"({"primaryModifier":"Control"})", Modifier::option},
        {R"({"primaryModifier":"command"})", Modifier::option},
        {R"({"primaryModifier":""})", Modifier::option},
        {R"({"primaryModifier":"option"})", Modifier::option},
    };
    for (const auto& [json, modifier] : rows) {
        EXPECT_EQ(read(json).primaryModifier, modifier) << json;
    }
}

TEST(ConfigReading, ThreeNumbersAreClampedOnReading) {
    struct Row {
        const char* json;
        std::int64_t delay;
        double opacity;
        double radius;
    };
    const Row rows[] = {
        {R"({"focusFollowsCursorDelay":5000})", 1000, 0.35, 16},
        {R"({"focusFollowsCursorDelay":-3})", 0, 0.35, 16},
        {R"({"focusFollowsCursorDelay":250})", 250, 0.35, 16},
        {R"({"focusBorderOpacity":2})", 0, 1, 16},
        {R"({"focusBorderOpacity":-0.5})", 0, 0, 16},
        {R"({"focusBorderCornerRadius":-1})", 0, 0.35, 0},
        {R"({"focusBorderCornerRadius":40})", 0, 0.35, 32},
        {R"({"focusBorderCornerRadius":8.5})", 0, 0.35, 8.5},
        // Each range's two ends are kept, and one past either end is that end.
        {R"({"focusFollowsCursorDelay":0})", 0, 0.35, 16},
        {R"({"focusFollowsCursorDelay":-1})", 0, 0.35, 16},
        {R"({"focusFollowsCursorDelay":1000})", 1000, 0.35, 16},
        {R"({"focusFollowsCursorDelay":1001})", 1000, 0.35, 16},
        {R"({"focusBorderOpacity":0})", 0, 0, 16},
        {R"({"focusBorderOpacity":-0.01})", 0, 0, 16},
        {R"({"focusBorderOpacity":1})", 0, 1, 16},
        {R"({"focusBorderOpacity":1.01})", 0, 1, 16},
        {R"({"focusBorderCornerRadius":0})", 0, 0.35, 0},
        {R"({"focusBorderCornerRadius":-0.5})", 0, 0.35, 0},
        {R"({"focusBorderCornerRadius":32})", 0, 0.35, 32},
        {R"({"focusBorderCornerRadius":32.5})", 0, 0.35, 32},
    };
    for (const Row& row : rows) {
        const Config c = read(row.json);
        EXPECT_EQ(c.focusFollowsCursorDelay, row.delay) << row.json;
        EXPECT_EQ(c.focusBorderOpacity, row.opacity) << row.json;
        EXPECT_EQ(c.focusBorderCornerRadius, row.radius) << row.json;
    }
    // desktopCount and stashDesktop are taken as written.
    const Config unbounded = read(R"({"desktopCount":-4,"stashDesktop":0})");
    EXPECT_EQ(unbounded.desktopCount, -4);
    EXPECT_EQ(unbounded.stashDesktop, 0);
}

TEST(ConfigReading, RecentsAreCleaned) {
    EXPECT_EQ(read(R"({"launcherRecents":["a","","b","a"]})").launcherRecents,
              (std::vector<std::string>{"a", "b"}));
    std::string sixty = R"({"launcherRecents":[)";
    for (int i = 0; i < 60; ++i)
        sixty += (i ? ",\"app" : "\"app") + std::to_string(i) + "\"";
    sixty += "]}";
    const auto recents = read(sixty).launcherRecents;
    ASSERT_EQ(recents.size(), 50u);
    EXPECT_EQ(recents.front(), "app0");
    EXPECT_EQ(recents.back(), "app49");
}

TEST(ConfigReading, SetsCollapseRepeatsAndCanonicalSpellings) {
    const Config c = read(R"({"floatBundleIDs":["com.a","com.a","caf\u00e9","cafe\u0301"]})");
    EXPECT_EQ(c.floatBundleIDs.size(), 2u);
    EXPECT_TRUE(c.floatBundleIDs.contains("cafe\u0301"));
}

TEST(ConfigReading, OneDamagedTweakRecordIsDroppedAlone) {
    // Each record holds the only copy of a preference value the user had before; losing the
    // good ones because a neighbour is damaged could never be undone.
    const Config c = read(R"({"systemTweaks":{
        "windowAnimations":{"domain":"NSGlobalDomain","key":"NSAutomaticWindowAnimationsEnabled",
                            "original":{"state":"value","value":{"type":"bool","value":true}},
                            "applied":{"type":"bool","value":false}},
        "broken":{"domain":"NSGlobalDomain","key":"K"},
        "alsoBroken":12,
        "dockAutohideDelay":{"domain":"com.apple.dock","key":"autohide-delay",
                             "original":{"state":"absent"},"applied":{"type":"number","value":0}}}})");
    ASSERT_EQ(c.systemTweaks.size(), 2u);
    EXPECT_EQ(c.systemTweaks.at("windowAnimations").original,
              PreferenceOriginal::value(PreferenceValue::bool_(true)));
    EXPECT_EQ(c.systemTweaks.at("dockAutohideDelay").applied, PreferenceValue::number(0));
}

TEST(ConfigWriting, DefaultsRoundTripAndAbsentOptionalsAreLeftOut) {
    const JSONValue written = encodeJSON(Config::defaults());
    EXPECT_EQ(written.size(), 25u);  // 26 fields, terminalBundleID unset
    EXPECT_FALSE(written.contains("terminalBundleID"));
    EXPECT_EQ(JSONNode(written).decode<Config>(), Config::defaults());

    Config noStash = Config::defaults();
    noStash.stashDesktop = std::nullopt;
    EXPECT_FALSE(encodeJSON(noStash).contains("stashDesktop"));
    EXPECT_EQ(JSONNode(encodeJSON(noStash)).decode<Config>().stashDesktop, std::nullopt);

    Config zeroStash = Config::defaults();
    zeroStash.stashDesktop = 0;
    EXPECT_EQ(encodeJSON(zeroStash)["stashDesktop"], 0);
    EXPECT_EQ(JSONNode(encodeJSON(zeroStash)).decode<Config>().stashDesktop, 0);
}

TEST(ConfigWriting, EveryFieldSurvivesARoundTrip) {
    Config c = Config::defaults();
    c.desktopCount = 4;
    c.gaps = Gaps{6, 12.5};
    c.floatBundleIDs = {"com.b", "com.a"};
    c.ignoreBundleIDs = {};
    c.stashDesktop = 3;
    c.defaultLayoutMode = LayoutMode::masterStack;
    c.layoutModes.set(2, LayoutMode::bsp);
    c.clickToFloat = false;
    c.showSwitchHUD = false;
    c.primaryModifier = Modifier::control;
    c.shortcuts.set(Chord{.keyCode = 4, .control = true}, Shortcut::focusDown);
    c.shortcuts.clear(Shortcut::launcher);
    c.terminalBundleID = "com.example.term";
    c.showFocusBorder = false;
    c.focusFollowsCursor = true;
    c.focusFollowsCursorDelay = 120;
    c.focusBorderColor = "not a colour";
    c.focusBorderOpacity = 0.5;
    c.focusBorderCornerRadius = 4;
    c.hideFocusBorderOnForeignFront = true;
    c.followActivationToDesktop = false;
    c.showLauncher = false;
    c.showFocusedAppName = true;
    c.launcherVimMode = true;
    c.launcherRecents = {"z", "y"};
    c.systemTweaks["pressAndHold"] =
        SystemTweakRecord{"NSGlobalDomain", "ApplePressAndHoldEnabled",
                          PreferenceOriginal::absent(), PreferenceValue::bool_(false)};
    c.guideSeen = true;
    const std::string text = JSONWriter::write(encodeJSON(c), JSONWriter::prettyPrinted());
    EXPECT_EQ(read(text), c);
}

TEST(ConfigMaking, TheFullConstructorClampsAndCleans) {
    const Config c(9, Gaps{-20, 1e9}, {}, {}, 9, LayoutMode::bsp, DesktopLayoutModes::none(), true,
                   true, Modifier::option, ShortcutOverrides::none(), std::nullopt, true, false,
                   5000, "#FF7A60", std::nan(""), 1e9, false, true, true, false, false,
                   {"a", "", "a", "b"}, {}, false);
    EXPECT_EQ(c.gaps, (Gaps{0, 64}));
    EXPECT_EQ(c.focusFollowsCursorDelay, 1000);
    EXPECT_EQ(c.focusBorderOpacity, 0.35);
    EXPECT_EQ(c.focusBorderCornerRadius, 32);
    EXPECT_EQ(c.launcherRecents, (std::vector<std::string>{"a", "b"}));

    EXPECT_EQ(Config::clampOpacity(INFINITY), 0.35);
    EXPECT_EQ(Config::clampCornerRadius(-INFINITY), 16);
    EXPECT_EQ(Config::clampFocusFollowsCursorDelay(INT64_MIN), 0);
    EXPECT_EQ(Config::clampGaps(Gaps{std::nan(""), INFINITY}), Gaps::none());
    EXPECT_EQ(Config::clampGaps(Gaps{12, 30}), (Gaps{12, 30}));
}

TEST(ConfigMaking, DefaultsAndEffectiveSets) {
    const Config& d = Config::defaults();
    EXPECT_EQ(d, Config());
    EXPECT_EQ(d.ignoreBundleIDs, TextSet{"com.valvesoftware.steam"});
    EXPECT_EQ(d.stashDesktop, 9);
    EXPECT_EQ(d.defaultLayoutMode, LayoutMode::bsp);
    EXPECT_EQ(Config::defaultFocusBorderColor(), "#FF7A60");

    Config c = d;
    c.floatBundleIDs = {"com.example.one"};
    EXPECT_EQ(
        c.effectiveFloatBundleIDs(),
        (TextSet{"com.example.one", "com.apple.systempreferences", "com.apple.finder.SaveDialog"}));
    // The built-ins never leak into the stored list.
    EXPECT_EQ(c.floatBundleIDs.size(), 1u);
    EXPECT_EQ(c.effectiveIgnoreBundleIDs(), d.ignoreBundleIDs);
}

}  // namespace
}  // namespace kelvo
