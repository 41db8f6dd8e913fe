#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <sstream>

#include "Support/KelvoCore/StoreFixture.h"
#include "Support/KelvoCore/TreeInvariant.h"
#include "Support/KelvoCore/WindowMentions.h"

namespace kelvo {
namespace {

constexpr std::uint32_t poolSize = 14;
constexpr int desktops = 4;

/// A long, reproducible walk through adoption, removal, moves, commands, switches and
/// configuration changes. After every step each window must sit in exactly its own pane's
/// tree, once, and no managed window may be lost.
class TreeInvariantWalk : public StoreFixture {
  protected:
    void prepare(bool twoDisplays) {
        config.desktopCount = desktops;
        config.stashDesktop = desktops;
        config.gaps = Gaps{8, 4};
        makeStore();
        std::vector<Display> displays{Display(1, screen)};
        if (twoDisplays) displays.push_back(Display(2, CGRect(1000, 0, 800, 600)));
        store->displaysChanged(displays);
        store->queries.pointerLocation = [this] { return pointer; };
        settle();
    }

    std::uint32_t pick(std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); }
    WindowID anyWindow() { return WindowID(1 + pick(poolSize)); }
    int anyDesktop() { return static_cast<int>(pick(desktops + 2)); }  // 0 and 5 are refused
    Direction anyDirection() { return direction::allCases[pick(4)]; }

    CGRect anyFrame() {
        const bool second = pick(3) == 0;
        const double x = (second ? 1000 : 0) + pick(600);
        const double w = 100 + pick(900);
        return CGRect(x, pick(500), w, 80 + pick(700));
    }

    std::string step() {
        const WindowID w = anyWindow();
        std::ostringstream text;
        switch (pick(26)) {
            case 0:
            case 1:
            case 2:
            case 3: {
                const bool floating = pick(5) == 0;
                const bool minimized = pick(8) == 0;
                auto& window =
                    bridge->add(w, anyFrame(), pick(2) ? "com.example.a" : "com.example.b");
                if (minimized) window.minimized();
                if (pick(10) == 0) window.unreadable();
                store->add(w, window.record.bundleID, anyWindow(), floating, minimized);
                text << "add " << w.description() << (floating ? " floating" : "")
                     << (minimized ? " minimized" : "");
                break;
            }
            case 4:
            case 5:
                store->remove(w);
                bridge->remove(w);
                text << "remove " << w.description();
                for (const std::string& table : tablesNaming(*store, w))
                    text << " LEFT IN " << table;
                break;
            case 6: {
                const int d = anyDesktop();
                const bool command = pick(2);
                store->move(w, d, command);
                text << "move " << w.description() << " to " << d << (command ? " as command" : "");
                break;
            }
            case 7: {
                const int d = anyDesktop();
                store->switchTo(d, pick(2) ? std::optional<WindowID>(w) : std::nullopt);
                text << "switchTo " << d;
                break;
            }
            case 8:
                store->moveWindow(w, anyDirection());
                text << "moveWindow " << w.description();
                break;
            case 9:
                store->resizeWindow(w, anyDirection());
                text << "resizeWindow " << w.description();
                break;
            case 10:
                store->toggleSplit(w);
                text << "toggleSplit " << w.description();
                break;
            case 11:
                store->rotate();
                text << "rotate";
                break;
            case 12:
                store->toggleZoom(w);
                text << "toggleZoom " << w.description();
                break;
            case 13: {
                const WindowID focused = pick(2) ? w : anyWindow();
                store->toggleFloat(w, focused);
                text << "toggleFloat " << w.description() << " next to " << focused.description();
                break;
            }
            case 14:
                store->promoteToMaster(w);
                text << "promoteToMaster " << w.description();
                break;
            case 15:
                store->rebalance();
                text << "rebalance";
                break;
            case 16: {
                const int d = anyDesktop();
                const LayoutMode mode = pick(2) ? LayoutMode::bsp : LayoutMode::masterStack;
                store->setLayoutMode(mode, d);
                text << "setLayoutMode " << rawValue(mode) << " on " << d;
                break;
            }
            case 17:
                store->bringToActiveDesktop(w);
                text << "bringToActiveDesktop " << w.description();
                break;
            case 18:
                pointer = std::vector<std::optional<CGPoint>>{CGPoint{500, 400}, CGPoint{1400, 300},
                                                              std::nullopt}[pick(3)];
                text << "pointer to " << (pointer ? std::to_string(pointer->x) : "nowhere");
                break;
            case 19:
                if (bridge->contains(w)) {
                    auto& window = bridge->window(w);
                    window.fullScreen = !window.fullScreen;
                    store->fullScreenChanged(w, CGRect(0, -30, 1000, 900));
                    text << (window.fullScreen ? "enters" : "leaves") << " full screen "
                         << w.description();
                }
                break;
            case 21:
                if (bridge->contains(w) && pick(2) == 0) {
                    // Someone else moves the window: a drag, as no mouse query is installed.
                    bridge->setFrame(anyFrame(), w);
                    store->windowFrameChanged(w);
                    text << "dragged " << w.description();
                } else {
                    store->adoptOnActivation(w);
                    text << "adoptOnActivation " << w.description();
                }
                break;
            case 20:
                store->toggleFloatByClick(w);
                text << "toggleFloatByClick " << w.description();
                break;
            case 22: {
                // Fewer desktops gather the surplus on the new last one; more bring them back.
                Config changed = store->config();
                changed.desktopCount = changed.desktopCount == desktops ? desktops - 1 : desktops;
                store->apply(changed);
                text << "desktop count " << changed.desktopCount;
                break;
            }
            default:
                settle(0.05 * (1 + pick(10)));
                text << "time passes";
                break;
        }
        return text.str();
    }

    void walk(std::uint32_t seed, int steps) {
        rng.seed(seed);
        std::vector<std::string> history;
        for (int i = 0; i < steps; ++i) {
            history.push_back(step());
            ASSERT_EQ(history.back().find(" LEFT IN "), std::string::npos)
                << "seed " << seed << ", step " << i << ": " << history.back();
            const auto violations = treeInvariantViolations(*store);
            if (!violations.empty()) {
                std::string last;
                for (std::size_t k = history.size() > 12 ? history.size() - 12 : 0;
                     k < history.size(); ++k) {
                    last += "\n  " + history[k];
                }
                FAIL() << "seed " << seed << ", step " << i << ": " << violations.front()
                       << "\nlast steps:" << last << "\n"
                       << store->stateDescription();
            }
            for (const auto& [id, record] : store->state().windows) {
                ASSERT_TRUE(bridge->contains(id)) << "seed " << seed << ": " << id.description();
            }
        }
    }

    std::mt19937 rng;
    std::optional<CGPoint> pointer = CGPoint{500, 400};
};

TEST_F(TreeInvariantWalk, HoldsOnOneDisplay) {
    prepare(false);
    walk(20261208, 3000);
}

TEST_F(TreeInvariantWalk, HoldsOnTwoDisplays) {
    prepare(true);
    walk(4711, 3000);
}

TEST_F(TreeInvariantWalk, HoldsOnTwoDisplaysWithMainAndStack) {
    config.defaultLayoutMode = LayoutMode::masterStack;
    prepare(true);
    walk(99, 3000);
}

}  // namespace
}  // namespace kelvo
