#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/KelvoCore/FakeWindowBridge.h"
#include "Support/KelvoCore/HookRecorder.h"
#include "Support/KelvoCore/ManualScheduler.h"

namespace kelvo {

/// A store over the fake bridge, with every hook recorded and the four schedulers on virtual
/// time at the coordinator's delays.
class StoreFixture : public ::testing::Test {
  protected:
    static constexpr double coalesceDelay = 0.016;
    static constexpr double retryDelay = 0.15;
    static constexpr double dragSettleDelay = 0.2;

    /// Defaults, except that nothing is stashed, so that a window given up stays put.
    static Config testConfig();

    /// Makes the store from `config` and `screen`; without schedulers every deferred step
    /// runs at once.
    void makeStore(bool withSchedulers = true);
    /// Puts a window on the fake desktop (not yet managed).
    FakeWindowBridge::Window& window(
        std::uint32_t raw, const CGRect& frame,
        const std::string& bundleID = FakeWindowBridge::defaultBundleID);
    /// Puts a window on the fake desktop and lets the store adopt it, then settles.
    void adopt(std::uint32_t raw, const CGRect& frame = CGRect(100, 100, 300, 200),
               bool floating = false,
               const std::string& bundleID = FakeWindowBridge::defaultBundleID);
    /// Adopts a window onto desktop `d` (switching there first) and comes back to desktop 1.
    void adoptOn(int d, std::uint32_t raw, const CGRect& frame = CGRect(100, 100, 300, 200),
                 bool floating = false,
                 const std::string& bundleID = FakeWindowBridge::defaultBundleID);
    void adoptOn(int d, std::uint32_t raw, const std::string& bundleID) {
        adoptOn(d, raw, CGRect(100, 100, 300, 200), false, bundleID);
    }
    /// A start-up adoption record of a window (not put on the fake desktop).
    static AdoptionRecord record(std::uint32_t raw,
                                 const std::string& bundleID = FakeWindowBridge::defaultBundleID,
                                 bool floating = false);
    /// The window's frame changes (by the user or its application) and the store hears of it.
    void frameEvent(std::uint32_t raw, const CGRect& frame);
    /// Runs every pending scheduled step, as time passes.
    void settle(double seconds = 1.0) { clock.advance(seconds); }
    std::optional<CGRect> frameOf(std::uint32_t raw) const;
    /// Makes a managed tiled window refuse every write from a place it is not wanted, and lays
    /// out until the reconciler gives up on it; true once it has.
    bool refuseUntilGivenUp(std::uint32_t raw);

    Config config = testConfig();
    CGRect screen = CGRect(0, 0, 1000, 800);
    std::shared_ptr<FakeWindowBridge> bridge = std::make_shared<FakeWindowBridge>();
    ManualScheduler clock;
    HookRecorder recorder;
    std::unique_ptr<WorkspaceStore> store;
};

}  // namespace kelvo
