#include <gtest/gtest.h>

#include <memory>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakService.h"
#include "Support/Base/DecodeText.h"
#include "Support/KelvoCore/FakePreferenceStore.h"

namespace kelvo {
namespace {

using Records = SystemTweakService::Records;
using Strings = std::vector<std::string>;

constexpr const char* global = "NSGlobalDomain";
constexpr const char* dock = "com.apple.dock";

const SystemTweak& tweak(const std::string& id) {
    for (const SystemTweak& t : SystemTweakCatalog::all()) {
        if (t.id == id) return t;
    }
    throw std::logic_error("no tweak " + id);
}

class SystemTweakServiceTest : public ::testing::Test {
  protected:
    std::shared_ptr<FakePreferenceStore> prefs = std::make_shared<FakePreferenceStore>();
    int dockRestarts = 0;
    SystemTweakService service{prefs, [this] { ++dockRestarts; }};
    Records records;
};

TEST_F(SystemTweakServiceTest, EnableOverAnUnsetKeyRecordsAbsentAndDisableRemovesTheKey) {
    EXPECT_EQ(service.enable(tweak("windowAnimations"), records), TweakOutcome::changed);
    EXPECT_EQ(prefs->calls(), (Strings{
                                  "value(NSAutomaticWindowAnimationsEnabled, NSGlobalDomain)",
                                  "setValue(bool(false), NSAutomaticWindowAnimationsEnabled, "
                                  "NSGlobalDomain)",
                                  "synchronize(NSGlobalDomain)",
                                  "value(NSAutomaticWindowAnimationsEnabled, NSGlobalDomain)",
                              }));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.at("windowAnimations"),
              (SystemTweakRecord{global, "NSAutomaticWindowAnimationsEnabled",
                                 PreferenceOriginal::absent(), PreferenceValue::bool_(false)}));
    EXPECT_TRUE(service.isOn("windowAnimations", records));

    prefs->clearCalls();
    EXPECT_EQ(service.disable("windowAnimations", records), TweakOutcome::changed);
    EXPECT_EQ(prefs->calls(),
              (Strings{
                  "setValue(none, NSAutomaticWindowAnimationsEnabled, NSGlobalDomain)",
                  "synchronize(NSGlobalDomain)",
                  "value(NSAutomaticWindowAnimationsEnabled, NSGlobalDomain)",
              }));
    EXPECT_FALSE(prefs->stored(global, "NSAutomaticWindowAnimationsEnabled"));
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(service.isOn("windowAnimations", records));
    EXPECT_EQ(dockRestarts, 0);
}

TEST_F(SystemTweakServiceTest, EnableOverAValueRecordsItAndDisablePutsItBack) {
    prefs->seed(global, "NSWindowResizeTime", PreferenceValue::number(0.2));
    EXPECT_EQ(service.enable(tweak("windowResizeTime"), records), TweakOutcome::changed);
    EXPECT_EQ(prefs->stored(global, "NSWindowResizeTime"), PreferenceValue::number(0.001));
    EXPECT_EQ(records.at("windowResizeTime").original,
              PreferenceOriginal::value(PreferenceValue::number(0.2)));

    EXPECT_EQ(service.disable("windowResizeTime", records), TweakOutcome::changed);
    EXPECT_EQ(prefs->stored(global, "NSWindowResizeTime"), PreferenceValue::number(0.2));
    EXPECT_TRUE(records.empty());
}

TEST_F(SystemTweakServiceTest, DockTweakRestartsTheDockOnceAndEnablingAgainOnlyRewrites) {
    EXPECT_EQ(service.enable(tweak("dockAutohideDelay"), records), TweakOutcome::changed);
    EXPECT_EQ(dockRestarts, 1);
    const Records before = records;

    // Someone else changes the key while the tweak is on.
    prefs->seed(dock, "autohide-delay", PreferenceValue::number(0.5));
    prefs->clearCalls();
    EXPECT_EQ(service.enable(tweak("dockAutohideDelay"), records), TweakOutcome::unchanged);
    EXPECT_EQ(prefs->calls(), (Strings{"setValue(number(0), autohide-delay, com.apple.dock)",
                                       "synchronize(com.apple.dock)"}));
    EXPECT_EQ(prefs->stored(dock, "autohide-delay"), PreferenceValue::number(0));
    EXPECT_EQ(records, before) << "the first original is kept";
    EXPECT_EQ(dockRestarts, 1);

    EXPECT_EQ(service.disable("dockAutohideDelay", records), TweakOutcome::changed);
    EXPECT_EQ(dockRestarts, 2);
    EXPECT_FALSE(prefs->stored(dock, "autohide-delay"));
}

TEST_F(SystemTweakServiceTest, AKeyHoldingWhatCannotBeDescribedIsLeftAlone) {
    prefs->seed(global, "ApplePressAndHoldEnabled", PreferenceValue::unrepresentable());
    prefs->seed(dock, "autohide-time-modifier", PreferenceValue::unrepresentable());
    EXPECT_EQ(service.enable(tweak("pressAndHold"), records), TweakOutcome::refusedUnrestorable);
    EXPECT_EQ(service.enable(tweak("dockAutohideTime"), records),
              TweakOutcome::refusedUnrestorable);
    EXPECT_TRUE(prefs->callsOf("setValue").empty());
    EXPECT_TRUE(prefs->callsOf("synchronize").empty());
    EXPECT_EQ(prefs->stored(global, "ApplePressAndHoldEnabled"),
              PreferenceValue::unrepresentable());
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(dockRestarts, 0);
}

TEST_F(SystemTweakServiceTest, IgnoredWritesFailEnableWithoutARecordAndDisableKeepingIt) {
    prefs->ignoreWrites(dock);
    EXPECT_EQ(service.enable(tweak("dockAutohideDelay"), records), TweakOutcome::writeFailed);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(dockRestarts, 0);

    const SystemTweakRecord record{dock, "autohide-time-modifier",
                                   PreferenceOriginal::value(PreferenceValue::number(0.7)),
                                   PreferenceValue::number(0)};
    prefs->seed(dock, "autohide-time-modifier", PreferenceValue::number(0));
    records["dockAutohideTime"] = record;
    EXPECT_EQ(service.disable("dockAutohideTime", records), TweakOutcome::writeFailed);
    EXPECT_EQ(records.at("dockAutohideTime"), record);
    EXPECT_TRUE(service.isOn("dockAutohideTime", records));
    EXPECT_EQ(dockRestarts, 0);

    // The user can try again once the store keeps writes.
    FakePreferenceStore healed;
    healed.seed(dock, "autohide-time-modifier", PreferenceValue::number(0));
    auto healedStore = std::make_shared<FakePreferenceStore>(healed);
    SystemTweakService retry(healedStore, [this] { ++dockRestarts; });
    EXPECT_EQ(retry.disable("dockAutohideTime", records), TweakOutcome::changed);
    EXPECT_EQ(healedStore->stored(dock, "autohide-time-modifier"), PreferenceValue::number(0.7));
    EXPECT_EQ(dockRestarts, 1);
}

TEST_F(SystemTweakServiceTest, AWriteThatLandsAsAnotherNumberFailsAndIsNotUndone) {
    // A store that keeps single precision: 0.001 comes back as its nearest float.
    const PreferenceValue landed = PreferenceValue::number(static_cast<double>(0.001f));
    prefs->landWritesAs(global, "NSWindowResizeTime", landed);
    prefs->seed(global, "NSWindowResizeTime", PreferenceValue::number(0.2));
    EXPECT_EQ(service.enable(tweak("windowResizeTime"), records), TweakOutcome::writeFailed);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(prefs->stored(global, "NSWindowResizeTime"), landed);
    EXPECT_EQ(prefs->callsOf("setValue").size(), 1u);
}

TEST_F(SystemTweakServiceTest, DisablingWithoutARecordDoesNothing) {
    EXPECT_EQ(service.disable("windowAnimations", records), TweakOutcome::unchanged);
    EXPECT_EQ(service.disable("", records), TweakOutcome::unchanged);
    EXPECT_TRUE(prefs->calls().empty());
    EXPECT_EQ(dockRestarts, 0);
}

TEST_F(SystemTweakServiceTest, IsOnFollowsTheRecordNotTheStore) {
    EXPECT_EQ(service.enable(tweak("pressAndHold"), records), TweakOutcome::changed);
    prefs->seed(global, "ApplePressAndHoldEnabled", PreferenceValue::bool_(true));
    prefs->clearCalls();
    EXPECT_TRUE(service.isOn("pressAndHold", records));
    EXPECT_FALSE(service.isOn("windowAnimations", records));
    EXPECT_TRUE(prefs->calls().empty());
}

TEST_F(SystemTweakServiceTest, DisableDecidesTheDockRestartByTheRecordsDomain) {
    // An id the catalogue no longer has, recorded in the Dock's domain.
    records["oldDockTweak"] = SystemTweakRecord{dock, "mru-spaces", PreferenceOriginal::absent(),
                                                PreferenceValue::bool_(false)};
    prefs->seed(dock, "mru-spaces", PreferenceValue::bool_(false));
    EXPECT_EQ(service.disable("oldDockTweak", records), TweakOutcome::changed);
    EXPECT_EQ(dockRestarts, 1);
    EXPECT_FALSE(prefs->stored(dock, "mru-spaces"));

    // And a Dock key recorded under the global domain does not restart it.
    records["misfiled"] = SystemTweakRecord{global, "autohide-delay", PreferenceOriginal::absent(),
                                            PreferenceValue::number(0)};
    EXPECT_EQ(service.disable("misfiled", records), TweakOutcome::changed);
    EXPECT_EQ(dockRestarts, 1);
}

TEST_F(SystemTweakServiceTest, AnUnrepresentableOriginalIsNeverWritten) {
    // Only a hand-edited file can hold such a record.
    records["pressAndHold"] =
        SystemTweakRecord{global, "ApplePressAndHoldEnabled",
                          PreferenceOriginal::value(PreferenceValue::unrepresentable()),
                          PreferenceValue::bool_(false)};
    prefs->seed(global, "ApplePressAndHoldEnabled", PreferenceValue::bool_(false));
    EXPECT_EQ(service.disable("pressAndHold", records), TweakOutcome::writeFailed);
    EXPECT_TRUE(prefs->callsOf("setValue").empty());
    EXPECT_TRUE(records.contains("pressAndHold"));

    prefs->seed(global, "ApplePressAndHoldEnabled", PreferenceValue::unrepresentable());
    EXPECT_EQ(service.disable("pressAndHold", records), TweakOutcome::changed);
    EXPECT_TRUE(prefs->callsOf("setValue").empty());
    EXPECT_TRUE(records.empty());
}

TEST_F(SystemTweakServiceTest, RevertAllRestoresInIdOrderAndRestartsTheDockOnce) {
    prefs->seed(dock, "autohide-time-modifier", PreferenceValue::number(0.25));
    for (const char* id : {"pressAndHold", "dockAutohideTime", "dockAutohideDelay"}) {
        ASSERT_EQ(service.enable(tweak(id), records), TweakOutcome::changed);
    }
    dockRestarts = 0;
    prefs->clearCalls();

    const auto outcomes = service.revertAll(records);
    EXPECT_EQ(outcomes, (std::map<std::string, TweakOutcome>{
                            {"dockAutohideDelay", TweakOutcome::changed},
                            {"dockAutohideTime", TweakOutcome::changed},
                            {"pressAndHold", TweakOutcome::changed},
                        }));
    EXPECT_EQ(prefs->callsOf("setValue"),
              (Strings{"setValue(none, autohide-delay, com.apple.dock)",
                       "setValue(number(0.25), autohide-time-modifier, com.apple.dock)",
                       "setValue(none, ApplePressAndHoldEnabled, NSGlobalDomain)"}));
    EXPECT_EQ(prefs->callsOf("synchronize"),
              (Strings{"synchronize(com.apple.dock)", "synchronize(com.apple.dock)",
                       "synchronize(NSGlobalDomain)"}));
    EXPECT_EQ(dockRestarts, 1);
    EXPECT_TRUE(records.empty());
}

TEST_F(SystemTweakServiceTest, RevertAllKeepsTheRecordsItCouldNotRestore) {
    for (const char* id : {"pressAndHold", "dockAutohideTime", "dockAutohideDelay"}) {
        ASSERT_EQ(service.enable(tweak(id), records), TweakOutcome::changed);
    }
    dockRestarts = 0;
    prefs->ignoreWrites(dock);
    const Records dockRecords{{"dockAutohideDelay", records.at("dockAutohideDelay")},
                              {"dockAutohideTime", records.at("dockAutohideTime")}};

    const auto outcomes = service.revertAll(records);
    EXPECT_EQ(outcomes, (std::map<std::string, TweakOutcome>{
                            {"dockAutohideDelay", TweakOutcome::writeFailed},
                            {"dockAutohideTime", TweakOutcome::writeFailed},
                            {"pressAndHold", TweakOutcome::changed},
                        }));
    EXPECT_EQ(records, dockRecords);
    EXPECT_EQ(dockRestarts, 0);
    EXPECT_FALSE(prefs->stored(global, "ApplePressAndHoldEnabled"));
}

TEST_F(SystemTweakServiceTest, RevertAllOverNothingCallsNothing) {
    EXPECT_TRUE(service.revertAll(records).empty());
    EXPECT_TRUE(prefs->calls().empty());
    EXPECT_EQ(dockRestarts, 0);
}

TEST_F(SystemTweakServiceTest, RevertAllPutsBackExactlyWhatWasFound) {
    prefs->seed(global, "NSAutomaticWindowAnimationsEnabled", PreferenceValue::bool_(true));
    prefs->seed(global, "NSWindowResizeTime", PreferenceValue::string("0.2"));
    prefs->seed(dock, "autohide-delay", PreferenceValue::number(1));
    prefs->seed(global, "unrelated", PreferenceValue::unrepresentable());
    const FakePreferenceStore found = *prefs;

    for (const SystemTweak& t : SystemTweakCatalog::all()) {
        ASSERT_EQ(service.enable(t, records), TweakOutcome::changed) << t.id;
    }
    EXPECT_EQ(records.size(), 5u);
    EXPECT_EQ(dockRestarts, 2);

    const auto outcomes = service.revertAll(records);
    EXPECT_EQ(outcomes.size(), 5u);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(dockRestarts, 3);
    for (const SystemTweak& t : SystemTweakCatalog::all()) {
        EXPECT_EQ(prefs->stored(t.domain, t.key), found.stored(t.domain, t.key)) << t.id;
    }
    EXPECT_FALSE(prefs->stored(global, "ApplePressAndHoldEnabled")) << "absent stays absent";
    EXPECT_FALSE(prefs->stored(dock, "autohide-time-modifier"));
    EXPECT_EQ(prefs->stored(global, "unrelated"), PreferenceValue::unrepresentable());
}

TEST_F(SystemTweakServiceTest, RecordsSurviveTheConfigurationFileAndADamagedOneCostsOnlyItself) {
    ASSERT_EQ(service.enable(tweak("windowAnimations"), records), TweakOutcome::changed);
    ASSERT_EQ(service.enable(tweak("dockAutohideDelay"), records), TweakOutcome::changed);
    Config config;
    config.systemTweaks = records;
    JSONValue document = encodeJSON(config);
    // A hand edit breaks one record.
    document["systemTweaks"]["pressAndHold"] = JSONValue::object();
    const Config read = JSONNode(document).decode<Config>();
    EXPECT_EQ(read.systemTweaks, records);

    Records back = read.systemTweaks;
    EXPECT_EQ(service.revertAll(back).size(), 2u);
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(prefs->stored(global, "NSAutomaticWindowAnimationsEnabled"));
    EXPECT_FALSE(prefs->stored(dock, "autohide-delay"));
}

TEST(SystemTweakService, AnUnsetDockRestartDoesNothing) {
    auto prefs = std::make_shared<FakePreferenceStore>();
    SystemTweakService service(prefs, {});
    Records records;
    EXPECT_EQ(service.enable(tweak("dockAutohideTime"), records), TweakOutcome::changed);
    EXPECT_EQ(service.revertAll(records).at("dockAutohideTime"), TweakOutcome::changed);
    EXPECT_EQ(service.prefs(), prefs);
}

}  // namespace
}  // namespace kelvo
