#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "KelvoApp/Coordinator/Coordinator.h"

namespace kelvo {
namespace {

/// A reach into a coordinator that was built but never started, and the accessor the failure
/// must name.
struct EarlyReach {
    std::string names;
    std::function<void(Coordinator&)> reach;
};

// What start-up makes does not exist yet before it runs; reaching it is a wiring mistake that
// must stop at once and say what was reached, not dereference null further on.
TEST(MadeByStartupDeathTest, ReachingWhatStartupMakesBeforeItRunsEndsNamingTheAccessor) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::vector<EarlyReach> reaches{
        {"StoreWiring::store", [](Coordinator& c) { c.storeWiring.store(); }},
        {"StoreWiring::bridge", [](Coordinator& c) { c.storeWiring.bridge(); }},
        {"ConfigurationChanges::store", [](Coordinator& c) { c.configuration.store(); }},
        {"CommandRouting::hotkeys", [](Coordinator& c) { c.commands.hotkeys(); }},
        {"OwnWindows::settingsWindow", [](Coordinator& c) { c.ownWindows.settingsWindow(); }},
        // An operation of a part, not only an accessor, stops at the first thing it reaches.
        {"OwnWindows::statusItem", [](Coordinator& c) { c.ownWindows.setDesktopCount(3); }},
    };
    for (const EarlyReach& early : reaches) {
        EXPECT_DEATH(
            {
                Coordinator coordinator{CoordinatorProcess{}};
                early.reach(coordinator);
            },
            "kelvo: " + early.names + " used before start-up made it")
            << early.names;
    }
}

}  // namespace
}  // namespace kelvo
