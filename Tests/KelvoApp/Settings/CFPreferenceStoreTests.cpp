#include <gtest/gtest.h>

#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakService.h"
#include "Platform/Services/CFPreferences.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using sim::PreferenceData;

constexpr const char* global = "NSGlobalDomain";
constexpr const char* dock = "com.apple.dock";

class CFPreferenceStoreTests : public DesktopFixture {
  protected:
    std::shared_ptr<CFPreferenceStore> store = std::make_shared<CFPreferenceStore>();
};

TEST_F(CFPreferenceStoreTests, BooleansNumbersAndStringsReadAsThemselves) {
    desktop->setPreference(dock, "autohide", PreferenceData::makeBoolean(true));
    desktop->setPreference(dock, "tilesize", PreferenceData::makeInteger(1));
    desktop->setPreference(dock, "autohide-delay", PreferenceData::makeReal(0.25));
    desktop->setPreference(dock, "orientation", PreferenceData::makeString("left"));
    EXPECT_EQ(store->value("autohide", dock), PreferenceValue::bool_(true));
    EXPECT_EQ(store->value("tilesize", dock), PreferenceValue::number(1))
        << "the integer 1 is a number, not a boolean";
    EXPECT_EQ(store->value("autohide-delay", dock), PreferenceValue::number(0.25));
    EXPECT_EQ(store->value("orientation", dock), PreferenceValue::string("left"));
    EXPECT_EQ(store->value("missing", dock), std::nullopt);
}

TEST_F(CFPreferenceStoreTests, OtherKindsAreUnrepresentableAndAreNeverWritten) {
    const PreferenceData others[] = {
        PreferenceData::makeArray({PreferenceData::makeString("a")}),
        PreferenceData::makeDictionary({{"k", PreferenceData::makeInteger(1)}}),
        PreferenceData::makeDate(1000),
        PreferenceData::makeData("bytes"),
    };
    for (const PreferenceData& other : others) {
        desktop->setPreference(dock, "persistent-apps", other);
        EXPECT_EQ(store->value("persistent-apps", dock), PreferenceValue::unrepresentable());
        store->setValue(PreferenceValue::unrepresentable(), "persistent-apps", dock);
        EXPECT_EQ(desktop->preference(dock, "persistent-apps"), other);
    }
    store->setValue(PreferenceValue::unrepresentable(), "unset", dock);
    EXPECT_FALSE(desktop->preference(dock, "unset"));
}

TEST_F(CFPreferenceStoreTests, WritesLandAsTheirKindAndNothingRemovesTheKey) {
    store->setValue(PreferenceValue::bool_(false), "NSAutomaticWindowAnimationsEnabled", global);
    store->setValue(PreferenceValue::number(0.001), "NSWindowResizeTime", global);
    store->setValue(PreferenceValue::string("x"), "note", dock);
    const std::string g = sim::Desktop::globalPreferenceDomain;
    EXPECT_EQ(desktop->preference(g, "NSAutomaticWindowAnimationsEnabled"),
              PreferenceData::makeBoolean(false));
    EXPECT_EQ(desktop->preference(g, "NSWindowResizeTime"), PreferenceData::makeReal(0.001));
    EXPECT_EQ(desktop->preference(dock, "note"), PreferenceData::makeString("x"));

    store->setValue(std::nullopt, "NSWindowResizeTime", global);
    EXPECT_FALSE(desktop->preference(g, "NSWindowResizeTime"));
    EXPECT_EQ(store->value("NSWindowResizeTime", global), std::nullopt);
}

TEST_F(CFPreferenceStoreTests, TheGlobalDomainIsTheAnyApplicationDomain) {
    desktop->setPreference(sim::Desktop::globalPreferenceDomain, "ApplePressAndHoldEnabled",
                           PreferenceData::makeBoolean(true));
    desktop->setPreference(global, "ApplePressAndHoldEnabled", PreferenceData::makeBoolean(false));
    EXPECT_EQ(store->value("ApplePressAndHoldEnabled", global), PreferenceValue::bool_(true));

    store->synchronize(global);
    store->synchronize(dock);
    store->synchronize(dock);
    EXPECT_EQ(desktop->preferenceSynchronizations(sim::Desktop::globalPreferenceDomain), 1);
    EXPECT_EQ(desktop->preferenceSynchronizations(global), 0);
    EXPECT_EQ(desktop->preferenceSynchronizations(dock), 2);
}

TEST_F(CFPreferenceStoreTests, TheServiceOverADomainThatDropsWritesReportsTheFailure) {
    int restarts = 0;
    SystemTweakService service(store, [&] { ++restarts; });
    SystemTweakService::Records records;
    desktop->setKeepsPreferenceWrites(dock, false);
    EXPECT_EQ(service.enable(*SystemTweakCatalog::tweak("dockAutohideDelay"), records),
              TweakOutcome::writeFailed);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(desktop->preferenceSynchronizations(dock), 1);

    // Turned on while the domain kept writes, it cannot be turned off once it stops.
    desktop->setKeepsPreferenceWrites(dock, true);
    ASSERT_EQ(service.enable(*SystemTweakCatalog::tweak("dockAutohideTime"), records),
              TweakOutcome::changed);
    desktop->setKeepsPreferenceWrites(dock, false);
    EXPECT_EQ(service.disable("dockAutohideTime", records), TweakOutcome::writeFailed);
    EXPECT_TRUE(service.isOn("dockAutohideTime", records));
    EXPECT_EQ(restarts, 1);
}

TEST_F(CFPreferenceStoreTests, EveryTweakOnAndRevertedLeavesTheDomainsAsFound) {
    const std::string g = sim::Desktop::globalPreferenceDomain;
    desktop->setPreference(g, "NSAutomaticWindowAnimationsEnabled",
                           PreferenceData::makeBoolean(true));
    desktop->setPreference(g, "NSWindowResizeTime", PreferenceData::makeReal(0.2));
    desktop->setPreference(dock, "autohide-time-modifier", PreferenceData::makeReal(0.5));
    int restarts = 0;
    SystemTweakService service(store, [&] { ++restarts; });
    SystemTweakService::Records records;
    for (const SystemTweak& tweak : SystemTweakCatalog::all()) {
        ASSERT_EQ(service.enable(tweak, records), TweakOutcome::changed) << tweak.id;
    }
    EXPECT_EQ(desktop->preference(g, "NSWindowResizeTime"), PreferenceData::makeReal(0.001));
    EXPECT_EQ(desktop->preference(dock, "autohide-delay"), PreferenceData::makeReal(0));

    const auto outcomes = service.revertAll(records);
    for (const auto& [id, outcome] : outcomes)
        EXPECT_EQ(outcome, TweakOutcome::changed) << id;
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(restarts, 3);
    EXPECT_EQ(desktop->preference(g, "NSAutomaticWindowAnimationsEnabled"),
              PreferenceData::makeBoolean(true));
    EXPECT_EQ(desktop->preference(g, "NSWindowResizeTime"), PreferenceData::makeReal(0.2));
    EXPECT_EQ(desktop->preference(dock, "autohide-time-modifier"), PreferenceData::makeReal(0.5));
    EXPECT_FALSE(desktop->preference(g, "ApplePressAndHoldEnabled"));
    EXPECT_FALSE(desktop->preference(dock, "autohide-delay"));
}

}  // namespace
}  // namespace kelvo
