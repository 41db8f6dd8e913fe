// The workspace store's layout pass over many windows against the fake bridge: the model's own
// part of a pass, with no Accessibility call, no desktop and no round trip behind the bridge.
// Time per pass and bridge calls per pass, for a pass that must write every window and for a
// pass over windows that already sit in their slots. What the calls cost on a desktop is in
// ax_bridge_bench, desktop_switch_bench and kelvo_requests_bench.

#include <benchmark/benchmark.h>

#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/KelvoCore/FakeWindowBridge.h"

namespace kelvo {
namespace {

struct Desktop {
    std::shared_ptr<FakeWindowBridge> bridge = std::make_shared<FakeWindowBridge>();
    std::unique_ptr<WorkspaceStore> store;

    explicit Desktop(int count) {
        Config config;
        config.stashDesktop = std::nullopt;
        const CGRect screen(0, 0, 5120, 2880);
        store = std::make_unique<WorkspaceStore>(config, bridge, screen);
        SessionSnapshot snapshot;
        std::vector<WindowID> ids;
        std::vector<AdoptionRecord> records;
        for (int i = 1; i <= count; ++i) {
            const WindowID w(static_cast<std::uint32_t>(i));
            bridge->add(w, CGRect(0, 0, 100, 100), "a");
            ids.push_back(w);
            snapshot.bundleIDs[w] = "a";
            records.push_back({w, "a", false, false});
        }
        snapshot.panes.push_back({1, 0, LayoutTree::grid(ids, screen)});
        store->restore(snapshot, records);
    }

    void scatter() {
        for (WindowID w : store->windows(1))
            bridge->window(w).record.frame = CGRect(0, 0, 100, 100);
    }
};

/// Bridge calls and frame writes, summed over the passes.
struct CallCount {
    double calls = 0;
    double writes = 0;
    double passes = 0;

    /// Takes the calls of one pass off the bridge's log, so that it does not grow.
    void take(FakeWindowBridge& bridge) {
        calls += static_cast<double>(bridge.calls().size());
        writes += static_cast<double>(bridge.count(FakeWindowBridge::Call::Operation::setFrame));
        passes += 1;
        bridge.clearCalls();
    }

    void report(benchmark::State& state) const {
        state.counters["calls/pass"] = passes > 0 ? calls / passes : 0;
        state.counters["writes/pass"] = passes > 0 ? writes / passes : 0;
    }
};

void BM_FakeBridgePassWritingEveryWindow(benchmark::State& state) {
    Desktop desktop(static_cast<int>(state.range(0)));
    CallCount count;
    for (auto _ : state) {
        state.PauseTiming();
        desktop.scatter();
        desktop.bridge->clearCalls();
        state.ResumeTiming();
        desktop.store->applyLayoutNow();
        state.PauseTiming();
        count.take(*desktop.bridge);
        state.ResumeTiming();
    }
    count.report(state);
}

void BM_FakeBridgePassOverSettledWindows(benchmark::State& state) {
    Desktop desktop(static_cast<int>(state.range(0)));
    desktop.store->applyLayoutNow();
    desktop.bridge->clearCalls();
    CallCount count;
    for (auto _ : state) {
        desktop.store->applyLayoutNow();
        state.PauseTiming();
        count.take(*desktop.bridge);
        state.ResumeTiming();
    }
    count.report(state);
}

BENCHMARK(BM_FakeBridgePassWritingEveryWindow)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_FakeBridgePassOverSettledWindows)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
}  // namespace kelvo
