#include <gtest/gtest.h>

#include "Base/Foundation/CFData.h"
#include "Base/Foundation/CFDate.h"
#include "Platform/Services/CFPreferences.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using sim::PreferenceData;

class CFPreferencesTests : public DesktopFixture {
  protected:
    CFTypeRef copy(const char* key, const CFStringRef& app) {
        return CFPreferencesCopyValue(CFStringCreate(key), app, kCFPreferencesCurrentUser,
                                      kCFPreferencesAnyHost);
    }
    void set(const char* key, const CFTypeRef& value, const CFStringRef& app) {
        CFPreferencesSetValue(CFStringCreate(key), value, app, kCFPreferencesCurrentUser,
                              kCFPreferencesAnyHost);
    }
    const CFStringRef dock = CFStringCreate("com.apple.dock");
};

TEST_F(CFPreferencesTests, EveryPropertyListKindSurvivesAWriteAndARead) {
    const CFTypeRef values[] = {
        kCFBooleanTrue,
        CFNumberCreate(std::int64_t{1}),
        CFNumberCreate(0.001),
        CFStringCreate("bottom"),
        CFDateCreate(700000000.5),
        CFDataCreate(std::string("\0\x01\xff", 3)),
        CFArrayCreate({CFStringCreate("a"), CFNumberCreate(std::int64_t{2})}),
        CFDictionaryCreate({{"tile", CFDictionaryCreate({{"x", kCFBooleanFalse}})}}),
    };
    for (const CFTypeRef& value : values) {
        set("key", value, dock);
        EXPECT_TRUE(CFEqual(copy("key", dock), value));
    }
    // An integer stays an integer on the desktop.
    set("count", CFNumberCreate(std::int64_t{3}), dock);
    EXPECT_EQ(desktop->preference("com.apple.dock", "count"), PreferenceData::makeInteger(3));
}

TEST_F(CFPreferencesTests, NullRemovesAndAnObjectNoPropertyListHoldsIsNotWritten) {
    set("autohide-delay", CFNumberCreate(0.5), dock);
    set("autohide-delay", nullptr, dock);
    EXPECT_FALSE(copy("autohide-delay", dock));
    EXPECT_FALSE(desktop->preference("com.apple.dock", "autohide-delay"));

    class Foreign final : public CFObject {};
    set("odd", std::make_shared<const Foreign>(), dock);
    set("nested", CFArrayCreate({std::make_shared<const Foreign>()}), dock);
    EXPECT_FALSE(copy("odd", dock));
    EXPECT_FALSE(copy("nested", dock));
}

TEST_F(CFPreferencesTests, TheAnyApplicationDomainIsTheGlobalOne) {
    set("ApplePressAndHoldEnabled", kCFBooleanFalse, kCFPreferencesAnyApplication);
    EXPECT_EQ(desktop->preference(sim::Desktop::globalPreferenceDomain, "ApplePressAndHoldEnabled"),
              PreferenceData::makeBoolean(false));
    EXPECT_FALSE(desktop->preference("kCFPreferencesAnyApplication", "ApplePressAndHoldEnabled"));
    EXPECT_FALSE(copy("ApplePressAndHoldEnabled", dock));
}

TEST_F(CFPreferencesTests, OnlyTheCurrentUserOnAnyHostIsKept) {
    desktop->setPreference("com.apple.dock", "orientation", PreferenceData::makeString("left"));
    const CFStringRef key = CFStringCreate("orientation");
    EXPECT_FALSE(CFPreferencesCopyValue(key, dock, kCFPreferencesAnyUser, kCFPreferencesAnyHost));
    EXPECT_FALSE(
        CFPreferencesCopyValue(key, dock, kCFPreferencesCurrentUser, kCFPreferencesCurrentHost));
    CFPreferencesSetValue(key, CFStringCreate("right"), dock, kCFPreferencesCurrentUser,
                          kCFPreferencesCurrentHost);
    EXPECT_TRUE(CFEqual(copy("orientation", dock), CFStringCreate("left")));
    EXPECT_FALSE(
        CFPreferencesCopyValue(nullptr, dock, kCFPreferencesCurrentUser, kCFPreferencesAnyHost));
    EXPECT_FALSE(
        CFPreferencesCopyValue(key, nullptr, kCFPreferencesCurrentUser, kCFPreferencesAnyHost));
}

TEST_F(CFPreferencesTests, ADomainThatDropsWritesSaysSoOnlyWhenSynchronized) {
    desktop->setKeepsPreferenceWrites("com.apple.dock", false);
    set("autohide-delay", CFNumberCreate(0.0), dock);
    EXPECT_FALSE(copy("autohide-delay", dock));
    EXPECT_FALSE(CFPreferencesAppSynchronize(dock));
    EXPECT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesAnyApplication));
    EXPECT_EQ(desktop->preferenceSynchronizations("com.apple.dock"), 1);
    EXPECT_EQ(desktop->preferenceSynchronizations(sim::Desktop::globalPreferenceDomain), 1);

    // What the user sets by hand still lands.
    desktop->setPreference("com.apple.dock", "autohide-delay", PreferenceData::makeReal(1));
    EXPECT_TRUE(CFEqual(copy("autohide-delay", dock), CFNumberCreate(1.0)));
    desktop->setKeepsPreferenceWrites("com.apple.dock", true);
    set("autohide-delay", nullptr, dock);
    EXPECT_FALSE(copy("autohide-delay", dock));
}

TEST(CFPreferencesWithoutADesktop, NothingIsReadOrKept) {
    sim::SharedConnection::install(nullptr);
    const CFStringRef dock = CFStringCreate("com.apple.dock");
    CFPreferencesSetValue(CFStringCreate("k"), kCFBooleanTrue, dock, kCFPreferencesCurrentUser,
                          kCFPreferencesAnyHost);
    EXPECT_FALSE(CFPreferencesCopyValue(CFStringCreate("k"), dock, kCFPreferencesCurrentUser,
                                        kCFPreferencesAnyHost));
    EXPECT_FALSE(CFPreferencesAppSynchronize(dock));
}

}  // namespace
}  // namespace kelvo
