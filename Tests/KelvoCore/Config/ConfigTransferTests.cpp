#include <gtest/gtest.h>

#include "KelvoCore/Config/ConfigTransfer.h"

namespace kelvo {
namespace {

using Failure = ConfigTransfer::Failure;

Config machine() {
    Config c;
    c.launcherRecents = {"com.b", "com.a"};
    c.systemTweaks["windowAnimations"] =
        SystemTweakRecord{"NSGlobalDomain", "NSAutomaticWindowAnimationsEnabled",
                          PreferenceOriginal::absent(), PreferenceValue::bool_(false)};
    c.systemTweaks["windowResizeTime"] = SystemTweakRecord{
        "NSGlobalDomain", "NSWindowResizeTime",
        PreferenceOriginal::value(PreferenceValue::number(0.2)), PreferenceValue::number(0.001)};
    c.systemTweaks["dockAutohideDelay"] =
        SystemTweakRecord{"com.apple.dock", "autohide-delay", PreferenceOriginal::absent(),
                          PreferenceValue::number(0)};
    c.guideSeen = true;
    return c;
}

Failure importFailure(std::string_view bytes) {
    try {
        ConfigTransfer::importSettings(bytes, machine());
    } catch (const Failure& failure) {
        return failure;
    }
    ADD_FAILURE() << "imported " << bytes;
    return Failure::notASettingsFile();
}

TEST(ConfigTransfer, ExportLeavesOutTheMachineRecordsAndSortsKeys) {
    const std::string text = ConfigTransfer::exportSettings(machine());
    const JSONValue file = JSONValue::parse(text);
    EXPECT_FALSE(file.contains("systemTweaks"));
    EXPECT_FALSE(file.contains("launcherRecents"));
    EXPECT_EQ(file.size(), 23u);  // 22 always, stashDesktop set, terminal unset
    std::string previous;
    for (auto it = file.begin(); it != file.end(); ++it) {
        EXPECT_LT(previous, it.key());
        EXPECT_EQ(ConfigTransfer::settingKeys().count(it.key()), 1u) << it.key();
        previous = it.key();
    }
    EXPECT_EQ(text.rfind("{\n  \"clickToFloat\" : true,", 0), 0u);
    EXPECT_EQ(ConfigTransfer::settingKeys().size(), 24u);
}

TEST(ConfigTransfer, ImportKeepsTheCurrentMachineRecords) {
    Config a;
    a.desktopCount = 5;
    a.primaryModifier = Modifier::control;
    a.terminalBundleID = "com.example.term";
    a.launcherRecents = {"elsewhere"};
    Config b = machine();
    b.launcherRecents = {"x", "x", "", "y"};
    const Config imported = ConfigTransfer::importSettings(ConfigTransfer::exportSettings(a), b);
    Config expected = a;
    expected.systemTweaks = b.systemTweaks;
    expected.launcherRecents = {"x", "y"};
    EXPECT_EQ(imported, expected);
}

TEST(ConfigTransfer, ImportIgnoresRecordsInTheFile) {
    const Config imported = ConfigTransfer::importSettings(
        R"({"desktopCount":4,"systemTweaks":{},"launcherRecents":["z"]})", machine());
    EXPECT_EQ(imported.systemTweaks, machine().systemTweaks);
    EXPECT_EQ(imported.launcherRecents, machine().launcherRecents);
}

TEST(ConfigTransfer, ASettingMissingFromTheFileTakesItsMissingKeyValue) {
    const Config imported = ConfigTransfer::importSettings(R"({"desktopCount":4})", machine());
    Config expected = JSONNode(JSONValue::object()).decode<Config>();
    expected.desktopCount = 4;
    expected.systemTweaks = machine().systemTweaks;
    expected.launcherRecents = machine().launcherRecents;
    EXPECT_EQ(imported, expected);
    EXPECT_EQ(imported.defaultLayoutMode, LayoutMode::masterStack);
    EXPECT_TRUE(imported.ignoreBundleIDs.empty());
    EXPECT_EQ(imported.stashDesktop, std::nullopt);
    EXPECT_FALSE(imported.guideSeen);
}

TEST(ConfigTransfer, RefusalsAndTheirMessages) {
    struct Row {
        std::string bytes;
        Failure failure;
        const char* message;
    };
    const Row rows[] = {
        {"not json", Failure::notASettingsFile(), "That file is not a Kelvo settings file."},
        {"", Failure::notASettingsFile(), "That file is not a Kelvo settings file."},
        {"[1,2]", Failure::notASettingsFile(), "That file is not a Kelvo settings file."},
        {R"("desktopCount")", Failure::notASettingsFile(),
         "That file is not a Kelvo settings file."},
        {"null", Failure::notASettingsFile(), "That file is not a Kelvo settings file."},
        {"{\"desktopCount\":\"\xff\"}", Failure::notASettingsFile(),
         "That file is not a Kelvo settings file."},
        {"{}", Failure::noSettingsInside(),
         "That file has no Kelvo settings in it, so nothing was changed."},
        {R"({"systemTweaks":{},"launcherRecents":[]})", Failure::noSettingsInside(),
         "That file has no Kelvo settings in it, so nothing was changed."},
        {R"({"theme":"dark"})", Failure::noSettingsInside(),
         "That file has no Kelvo settings in it, so nothing was changed."},
        {R"({"desktopCount":"4"})", Failure::unreadable("desktopCount is the wrong kind of value"),
         "That file could not be read: desktopCount is the wrong kind of value. Nothing was "
         "changed."},
        {R"({"gaps":{"outer":2}})", Failure::unreadable("inner is missing"),
         "That file could not be read: inner is missing. Nothing was changed."},
        {R"({"gaps":{"inner":2,"outer":"wide"}})",
         Failure::unreadable("gaps.outer is the wrong kind of value"), nullptr},
        {R"({"desktopCount":1e40})", Failure::unreadable("desktopCount is not valid"),
         "That file could not be read: desktopCount is not valid. Nothing was changed."},
        {R"({"stashDesktop":2.5})", Failure::unreadable("stashDesktop is not valid"), nullptr},
        {R"({"ignoreBundleIDs":["a",null]})",
         Failure::unreadable("ignoreBundleIDs.Index 1 is the wrong kind of value"), nullptr},
        {R"({"guideSeen":true,"primaryModifier":false})",
         Failure::unreadable("primaryModifier is the wrong kind of value"), nullptr},
    };
    for (const Row& row : rows) {
        const Failure failure = importFailure(row.bytes);
        EXPECT_EQ(failure, row.failure) << row.bytes << " → " << failure.message();
        if (row.message) {
            EXPECT_EQ(failure.message(), row.message) << row.bytes;
        }
    }
}

TEST(ConfigTransfer, AReasonEndingInAFullStopIsNotGivenASecond) {
    EXPECT_EQ(Failure::unreadable("the file ended early.").message(),
              "That file could not be read: the file ended early. Nothing was changed.");
    EXPECT_EQ(Failure::unreadable("it ended in dots..").message(),
              "That file could not be read: it ended in dots.. Nothing was changed.");
}

TEST(ConfigTransfer, RestoringDefaultsKeepsOnlyTheMachineRecords) {
    Config current = machine();
    current.launcherRecents = {"a", "a", "b"};
    const Config restored = ConfigTransfer::defaults(current);
    EXPECT_FALSE(restored.guideSeen);
    EXPECT_EQ(restored.systemTweaks.size(), 3u);
    EXPECT_EQ(restored.systemTweaks, current.systemTweaks);
    EXPECT_EQ(restored.launcherRecents, (std::vector<std::string>{"a", "b"}));
    Config expected = Config::defaults();
    expected.systemTweaks = current.systemTweaks;
    expected.launcherRecents = {"a", "b"};
    EXPECT_EQ(restored, expected);
}

TEST(ConfigTransfer, ReasonOfAnErrorThatIsNoDecodingFailure) {
    EXPECT_EQ(ConfigTransfer::reason(std::runtime_error("the disk is on fire")),
              "the disk is on fire");
    EXPECT_EQ(ConfigTransfer::reason(DecodingError(DecodingError::Kind::dataCorrupted, {}, "x")),
              "it is not valid JSON");
}

}  // namespace
}  // namespace kelvo
