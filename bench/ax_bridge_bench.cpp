// Accessibility calls per frame write and per full scan over the in-process desktop. Every call
// is a round trip to another application, bounded only by the messaging timeout, so the
// counters matter more than the time, and the benchmark fails when they are others than these:
// a frame write takes 5 calls (the application's "AXEnhancedUserInterface" read, three writes of
// position and size, and one read-back of both in one message), 7 with the enhanced interface
// on (two more writes turn it off and on again around the frame's); a full scan takes one
// window list ("AXWindows") per application and 4 calls per window (its number, whether its
// position and its size can be set, and one read of its frame, subrole, full-screen and
// minimized state in one message).
#include <benchmark/benchmark.h>

#include <cmath>

#include "Base/Foundation/ManualClock.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

constexpr int windowsPerApplication = 10;
/// The calls stated above.
constexpr double callsPerFrameWrite = 5;
constexpr double enhancedInterfaceToggles = 2;
constexpr double callsPerScannedWindow = 4;

/// An in-process desktop with `windows` windows, ten to an application, installed for the
/// stand-ins; this process is registered on it as the system.
class Bench {
  public:
    Bench(int windows, bool enhancedUserInterface) {
        sim::Pid owner = 0;
        for (int i = 0; i < windows; ++i) {
            if (i % windowsPerApplication == 0) {
                owner =
                    installed.launch("com.example.app" + std::to_string(i / windowsPerApplication));
                desktop->setEnhancedUserInterface(owner, enhancedUserInterface);
            }
            numbers.push_back(
                installed.open(owner, CGRect(10 * (i % 50), 30 + 10 * (i % 50), 600, 400)));
        }
    }
    ~Bench() { clock.runUntilIdle(); }

    /// The calls `work` makes, counted once, outside the timed loop.
    template <class Work>
    double callsOf(const Work& work) {
        desktop->setRecordsAccessCalls(true);
        desktop->clearAccessCalls();
        work();
        const auto calls = static_cast<double>(desktop->accessCalls().size());
        desktop->setRecordsAccessCalls(false);
        return calls;
    }

    ManualClock clock;
    InstalledDesktop installed{CGRect(0, 0, 1440, 900), std::nullopt};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
    std::vector<sim::WindowNumber> numbers;
};

void setFrame(benchmark::State& state) {
    Bench bench(1, state.range(0) != 0);
    AXWindowBridge bridge{Config()};
    bridge.windows();
    const WindowID window(bench.numbers.front());
    const CGRect wide(0, 30, 900, 700);
    const CGRect narrow(100, 60, 500, 400);
    const double grow = bench.callsOf([&] { bridge.setFrame(wide, window); });
    const double shrink = bench.callsOf([&] { bridge.setFrame(narrow, window); });
    state.counters["axCalls/setFrame(grow)"] = grow;
    state.counters["axCalls/setFrame(shrink)"] = shrink;
    const double stated = callsPerFrameWrite + (state.range(0) != 0 ? enhancedInterfaceToggles : 0);
    if (grow != stated || shrink != stated)
        return state.SkipWithError("a frame write's calls are not those the comment states");
    bool toggle = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bridge.setFrame(toggle ? wide : narrow, window));
        toggle = !toggle;
    }
}
BENCHMARK(setFrame)->ArgName("enhancedUserInterface")->Arg(0)->Arg(1);

void fullScan(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)), false);
    AXWindowBridge bridge{Config()};
    const auto windows = static_cast<double>(state.range(0));
    const double scan = bench.callsOf([&] { bridge.windows(); });
    state.counters["axCalls/scan"] = scan;
    state.counters["axCalls/window"] = scan / windows;
    const double applications = std::ceil(windows / windowsPerApplication);
    if (scan != applications + callsPerScannedWindow * windows)
        return state.SkipWithError("a scan's calls are not those the comment states");
    for (auto _ : state)
        benchmark::DoNotOptimize(bridge.windows());
}
BENCHMARK(fullScan)->ArgName("windows")->Arg(10)->Arg(100);

}  // namespace
}  // namespace kelvo
