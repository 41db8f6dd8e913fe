#include <gtest/gtest.h>

#include "KelvoAX/Classification/WindowClassification.h"

namespace kelvo {
namespace {

WindowTraits traits(const std::string& subrole = "AXStandardWindow", CGSize size = {800, 600}) {
    return WindowTraits{subrole, true, true, size, "com.example.editor", false};
}

Config configIgnoring(const std::string& ignored, const std::string& floated = "") {
    Config config;
    config.ignoreBundleIDs = {ignored};
    if (!floated.empty()) config.floatBundleIDs = {floated};
    return config;
}

TEST(WindowClassification, IgnoredApplicationWinsOverEveryOtherRule) {
    const Config config = configIgnoring("com.example.editor", "com.example.editor");
    WindowTraits fixed = traits();
    fixed.fullScreen = true;
    fixed.positionSettable = false;
    fixed.sizeSettable = false;
    EXPECT_EQ(classify(fixed, config), WindowRole::ignored);
    EXPECT_EQ(ignoreReason(fixed, config), IgnoreReason::userPreference);
}

TEST(WindowClassification, FullScreenIsIgnoredBeforeThePositionIsLookedAt) {
    WindowTraits window = traits();
    window.fullScreen = true;
    window.positionSettable = false;
    EXPECT_EQ(classify(window, Config()), WindowRole::ignored);
    EXPECT_EQ(ignoreReason(window, Config()), IgnoreReason::fullScreen);
}

TEST(WindowClassification, UnmovableWindowIsIgnoredEvenInTheFloatList) {
    WindowTraits window = traits();
    window.positionSettable = false;
    const Config config = configIgnoring("com.example.other", "com.example.editor");
    EXPECT_EQ(classify(window, config), WindowRole::ignored);
    EXPECT_EQ(ignoreReason(window, config), IgnoreReason::unsettablePosition);
}

TEST(WindowClassification, FloatListAndBuiltInFloatsFloatLargeStandardWindows) {
    EXPECT_EQ(classify(traits(), configIgnoring("x", "com.example.editor")), WindowRole::floating);
    WindowTraits settings = traits();
    settings.bundleID = "com.apple.systempreferences";
    EXPECT_EQ(classify(settings, Config()), WindowRole::floating);
    EXPECT_EQ(ignoreReason(settings, Config()), std::nullopt);
}

TEST(WindowClassification, FloatListMatchesCanonicallyEquivalentSpellings) {
    WindowTraits window = traits();
    window.bundleID = "com.example.caf\u00e9";
    EXPECT_EQ(classify(window, configIgnoring("x", "com.example.cafe\u0301")),
              WindowRole::floating);
}

TEST(WindowClassification, UnresizableWindowFloats) {
    WindowTraits window = traits();
    window.sizeSettable = false;
    EXPECT_EQ(classify(window, Config()), WindowRole::floating);
}

TEST(WindowClassification, SizeDecidesOnlyForWindowsThatAreNotStandard) {
    EXPECT_EQ(classify(traits("AXStandardWindow", {200, 200}), Config()), WindowRole::tiled);
    EXPECT_EQ(classify(traits("AXDialog", {479, 1000}), Config()), WindowRole::floating);
    EXPECT_EQ(classify(traits("AXDialog", {1000, 479.5}), Config()), WindowRole::floating);
    EXPECT_EQ(classify(traits("AXDialog", {480, 480}), Config()), WindowRole::tiled);
    EXPECT_EQ(classify(traits("", {480, 480}), Config()), WindowRole::tiled);
    EXPECT_EQ(classify(traits("", {10, 10}), Config()), WindowRole::floating);
}

TEST(WindowClassification, DefaultConfigurationIgnoresItsDefaultApplication) {
    WindowTraits window = traits();
    window.bundleID = "com.valvesoftware.steam";
    EXPECT_EQ(classify(window, Config()), WindowRole::ignored);
}

TEST(WindowClassification, CandidateOfIgnoredWindowIsNone) {
    WindowTraits window = traits();
    window.fullScreen = true;
    EXPECT_EQ(adoptionCandidate(WindowID(4), CGRect(0, 0, 800, 600), window, Config(), false),
              std::nullopt);
}

TEST(WindowClassification, CandidateCarriesTheVerdictAndTheEarlyFlag) {
    const CGRect frame(10, 20, 800, 600);
    EXPECT_EQ(adoptionCandidate(WindowID(4), frame, traits(), Config(), true),
              (ManagedWindow{WindowID(4), "com.example.editor", frame, false, true, false}));

    WindowTraits fixedStandard = traits();
    fixedStandard.sizeSettable = false;
    EXPECT_EQ(adoptionCandidate(WindowID(5), frame, fixedStandard, Config(), false),
              (ManagedWindow{WindowID(5), "com.example.editor", frame, true, false, true}));

    // Floating by rule, or not standard: nothing is early about the verdict.
    EXPECT_EQ(adoptionCandidate(WindowID(6), frame, traits(),
                                configIgnoring("x", "com.example.editor"), false),
              (ManagedWindow{WindowID(6), "com.example.editor", frame, true, false, false}));
    WindowTraits fixedDialog = traits("AXDialog");
    fixedDialog.sizeSettable = false;
    EXPECT_EQ(
        adoptionCandidate(WindowID(7), frame, fixedDialog, Config(), false)->floatingMayBeEarly,
        false);
}

TEST(WindowClassification, FloatListedStandardWindowThatCannotBeResizedMayBeEarly) {
    WindowTraits window = traits();
    window.sizeSettable = false;
    EXPECT_TRUE(
        floatingMayBeEarly(window, classify(window, configIgnoring("x", "com.example.editor"))));
    EXPECT_FALSE(floatingMayBeEarly(window, WindowRole::tiled));
}

TEST(WindowClassification, ActivationRules) {
    const Config config = configIgnoring("com.example.ignored");
    for (const auto rule : {shouldAdoptOnActivation, shouldSweepOnActivation}) {
        EXPECT_FALSE(rule(std::nullopt, std::nullopt, false, config));
        EXPECT_FALSE(rule("com.example.self", "com.example.self", false, config));
        EXPECT_FALSE(rule("com.example.editor", std::nullopt, true, config));
        EXPECT_FALSE(rule("com.example.ignored", std::nullopt, false, config));
        // Without an own identifier nothing is compared and the other tests decide.
        EXPECT_TRUE(rule("com.example.editor", std::nullopt, false, config));
        EXPECT_TRUE(rule("com.example.editor", "com.example.self", false, config));
        EXPECT_FALSE(rule("com.example.caf\u00e9", "com.example.cafe\u0301", false, config));
    }
}

}  // namespace
}  // namespace kelvo
