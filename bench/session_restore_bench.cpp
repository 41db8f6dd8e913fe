// Start-up adoption with the restore of a session in which most saved windows are gone: 20,000
// saved windows in one pane (a chain, the deepest shape a pane can take, and a grid), of which 20
// still live. The restore must stay well under 100 ms however many saved windows are gone.
#include <benchmark/benchmark.h>

#include <memory>

#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/KelvoCore/FakeWindowBridge.h"
#include "Support/KelvoCore/TreeBuilders.h"

namespace kelvo {
namespace {

constexpr std::uint32_t savedCount = 20000;
constexpr std::uint32_t liveEvery = 1000;

LayoutTree grid() {
    std::vector<WindowID> windows;
    for (std::uint32_t w = 1; w <= savedCount; ++w)
        windows.emplace_back(w);
    return LayoutTree::grid(windows, CGRect(0, 0, 1920, 1080));
}

void restoreAmongGoneWindows(benchmark::State& state, const LayoutTree& saved) {
    SessionSnapshot snapshot;
    snapshot.panes = {{1, 0, saved}};
    std::vector<AdoptionRecord> live;
    for (std::uint32_t w = 1; w <= savedCount; ++w) {
        snapshot.bundleIDs[WindowID(w)] = "org.example.app";
        if (w % liveEvery == 0) live.push_back({WindowID(w), "org.example.app", false, false});
    }
    for (auto _ : state) {
        state.PauseTiming();
        const auto bridge = std::make_shared<FakeWindowBridge>();
        bridge->setRecording(false);
        for (const AdoptionRecord& record : live)
            bridge->add(record.id, CGRect(100, 100, 400, 300), record.bundleID);
        auto store =
            std::make_unique<WorkspaceStore>(Config::defaults(), bridge, CGRect(0, 0, 1920, 1080));
        state.ResumeTiming();
        store->adopt(live, snapshot);
        state.PauseTiming();
        if (store->windows(1).size() != live.size()) state.SkipWithError("a window was lost");
        store.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * savedCount);
}

void BM_RestoreChainOfGoneWindows(benchmark::State& state) {
    restoreAmongGoneWindows(state, splitChain(1, savedCount));
}
BENCHMARK(BM_RestoreChainOfGoneWindows)->Unit(benchmark::kMillisecond);

void BM_RestoreGridOfGoneWindows(benchmark::State& state) {
    restoreAmongGoneWindows(state, grid());
}
BENCHMARK(BM_RestoreGridOfGoneWindows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo
