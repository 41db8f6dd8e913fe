// Accessibility calls per frame write and per full scan over the in-process desktop. Every call
// is a round trip to another application, bounded only by the messaging timeout, so the
// counters matter more than the time: a frame write needs its process, the enhanced-interface
// read, three writes and a two-read read-back (seven calls; two more with the enhanced interface
// on), and a full scan needs one window list per application and eight calls per window.
#include <benchmark/benchmark.h>

#include "Base/Foundation/ManualClock.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

constexpr int windowsPerApplication = 10;

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
    state.counters["axCalls/setFrame(grow)"] =
        bench.callsOf([&] { bridge.setFrame(wide, window); });
    state.counters["axCalls/setFrame(shrink)"] =
        bench.callsOf([&] { bridge.setFrame(narrow, window); });
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
    state.counters["axCalls/scan"] = bench.callsOf([&] { bridge.windows(); });
    state.counters["axCalls/window"] =
        state.counters["axCalls/scan"] / static_cast<double>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(bridge.windows());
}
BENCHMARK(fullScan)->ArgName("windows")->Arg(10)->Arg(100);

}  // namespace
}  // namespace kelvo
