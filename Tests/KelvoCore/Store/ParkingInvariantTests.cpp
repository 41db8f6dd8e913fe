// A long, deterministic, random run of switches, throws, show desktop, minimizes and escaping
// parked windows, over windows that refuse, clamp and land late: when it ends, `restoreAll`
// must leave every window the user did not minimize on a display, and the model must still
// hold every window exactly once.

#include <gtest/gtest.h>

#include <random>

#include "KelvoCore/Store/VisibilityAudit.h"
#include "Support/Base/Describe.h"
#include "Support/KelvoCore/StoreFixture.h"
#include "Support/KelvoCore/TreeInvariant.h"

namespace kelvo {
namespace {

struct RunRow {
    std::uint32_t seed;
    bool twoDisplays;
};

class ParkingInvariant : public StoreFixture, public ::testing::WithParamInterface<RunRow> {
  protected:
    static constexpr int steps = 800;
    static constexpr std::uint32_t windowCount = 14;
    static constexpr int desktops = 4;
    static constexpr CGFloat cornerMargin = 150;

    void SetUp() override {
        rng.seed(GetParam().seed);
        makeStore();
        store->queries.pointerLocation = [this] { return std::optional<CGPoint>(pointer); };
        displays = {Display(1, screen)};
        if (GetParam().twoDisplays) displays.push_back(Display(2, CGRect(1000, -100, 800, 600)));
        store->displaysChanged(displays);
    }

    std::uint32_t pick(std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); }
    bool chance(std::uint32_t percent) { return pick(100) < percent; }

    const Display& pointerDisplay() const {
        for (const Display& d : displays) {
            if (d.frame.contains(pointer)) return d;
        }
        return displays.front();
    }

    /// Somewhere inside the display under the pointer, at a size that fits it, and away from
    /// the parking corner.
    CGRect somewhereOnScreen() {
        const CGRect area = pointerDisplay().frame;
        const CGFloat width = 100 + pick(400), height = 80 + pick(300);
        return CGRect(
            area.minX() + pick(static_cast<std::uint32_t>(area.width() - width - cornerMargin)),
            area.minY() + pick(static_cast<std::uint32_t>(area.height() - height - cornerMargin)),
            width, height);
    }

    /// Every few windows misbehaves in its own way.
    void adoptNext() {
        const std::uint32_t raw = ++adopted;
        auto& w = window(raw, somewhereOnScreen(), "com.app" + std::to_string(raw % 4));
        switch (raw % 7) {
            case 1:
                w.refuses();
                break;
            case 2:
                w.landsLate(1 + static_cast<int>(pick(2)));
                break;
            case 3:
                w.refusesSize();
                break;
            case 4:
                w.clampsToMinimum(CGSize{420, 300});
                break;
            case 5:
                w.refusesPosition();
                break;
            default:
                break;
        }
        const bool floating = raw % 5 == 0;
        store->add(WindowID(raw), w.record.bundleID, std::nullopt, floating, false);
    }

    std::optional<WindowID> anyManaged() {
        return anyOf(store->state().windowsWhere([](const WindowState&) { return true; }));
    }

    std::optional<WindowID> anyOf(const std::set<WindowID>& set) {
        if (set.empty()) return std::nullopt;
        auto it = set.begin();
        std::advance(it, pick(static_cast<std::uint32_t>(set.size())));
        return *it;
    }

    void step() {
        switch (pick(10)) {
            case 0:
                if (adopted < windowCount) adoptNext();
                break;
            case 1:
            case 2: {
                std::optional<WindowID> focusing;
                if (chance(30)) focusing = anyManaged();
                store->switchTo(1 + static_cast<int>(pick(desktops)), focusing);
                break;
            }
            case 3:
                if (auto w = anyManaged())
                    store->throwFocused(*w, 1 + static_cast<int>(pick(desktops)));
                break;
            case 4:
                store->toggleShowDesktop();
                break;
            case 5:
                if (auto w = anyManaged()) {
                    // The user minimizes a window.
                    bridge->window(*w).record.minimized = true;
                    store->windowMinimized(*w);
                }
                break;
            case 6:
                if (auto w = anyOf(store->state().windowsWhere(&WindowState::inTheDock))) {
                    bridge->window(*w).record.minimized = false;
                    store->windowUnminimized(*w);
                }
                break;
            case 7:
                // An application moves a parked window out of the corner.
                if (auto w = anyOf(store->state().windowsWhere(&WindowState::isParked))) {
                    bridge->window(*w).record.frame.origin = somewhereOnScreen().origin;
                    store->healPark(*w);
                }
                break;
            case 8:
                if (displays.size() > 1) {
                    pointer = pointerDisplay().id == 1 ? CGPoint{1400, 200} : CGPoint{500, 400};
                }
                break;
            default:
                clock.advance(0.01 * pick(40));
                break;
        }
    }

    bool onSomeDisplay(const CGRect& frame) const {
        for (const Display& d : displays) {
            const CGRect overlap = frame.intersection(d.frame);
            if (!overlap.isNull() && overlap.width() > VisibilityAudit::sliver &&
                overlap.height() > VisibilityAudit::sliver) {
                return true;
            }
        }
        return false;
    }

    void expectNothingLost() const {
        const auto& state = store->state();
        EXPECT_EQ(state.windows.size(), adopted) << "every adopted window is still managed";
        EXPECT_EQ(treeInvariantViolations(*store), std::vector<std::string>{});
        EXPECT_TRUE(state.windowsWhere(&WindowState::isParked).empty());
        EXPECT_TRUE(state.showingDesktop.empty());
    }

    std::mt19937 rng;
    std::vector<Display> displays;
    CGPoint pointer{500, 400};
    std::uint32_t adopted = 0;
};

TEST_P(ParkingInvariant, RestoreAllLeavesNoWindowOffScreenAndLosesNone) {
    for (int i = 0; i < steps; ++i) {
        step();
        const auto violations = treeInvariantViolations(*store);
        ASSERT_TRUE(violations.empty()) << "step " << i << ": " << violations.front();
    }
    settle(2.0);
    store->restoreAll();
    // Windows that land late get there in the end.
    bridge->landPendingWrites();

    ASSERT_GT(adopted, 0u);
    expectNothingLost();
    const CGPoint corner = store->parkingCorner();
    for (const auto& [w, record] : store->state().windows) {
        const auto& fake = bridge->window(w);
        if (fake.record.minimized) {
            EXPECT_TRUE(record.inTheDock)
                << w.description() << " is minimized, but not by the user";
            continue;
        }
        const CGRect frame = *bridge->actualFrame(w);
        EXPECT_TRUE(onSomeDisplay(frame)) << w.description() << " at " << describe(frame);
        EXPECT_FALSE(VisibilityAudit::inCorner(frame, corner, VisibilityAudit::parkTolerance))
            << w.description() << " left in the parking corner at " << describe(frame);
    }
}

std::vector<RunRow> runs() {
    std::vector<RunRow> rows;
    for (std::uint32_t seed = 1; seed <= 24; ++seed)
        rows.push_back(RunRow{seed, seed % 2 == 0});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Runs, ParkingInvariant, ::testing::ValuesIn(runs()), [](const auto& info) {
    return "seed" + std::to_string(info.param.seed) +
           (info.param.twoDisplays ? "TwoDisplays" : "OneDisplay");
});

}  // namespace
}  // namespace kelvo
