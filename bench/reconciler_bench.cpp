// Bridge calls per reconciler pass over 1,000 tiled windows, against the fake bridge: the
// reconciler's own part, with no desktop behind the bridge. Every bridge call is a round trip to
// another application, so the counters, not the time, are what matters, and the benchmark fails
// when they are others: a pass over settled windows must read each window once and write none,
// and a pass that moves every window must cost one write, two reads and one minimized query per
// window.
#include <benchmark/benchmark.h>

#include "KelvoCore/Store/Reconciler.h"
#include "Support/KelvoCore/FakeWindowBridge.h"

namespace kelvo {
namespace {

using Operation = FakeWindowBridge::Call::Operation;

constexpr std::uint32_t windowCount = 1000;

/// A 40 × 25 grid of tiles, shifted by `offset` points so that two layouts differ everywhere.
std::map<WindowID, CGRect> grid(CGFloat offset) {
    std::map<WindowID, CGRect> frames;
    for (std::uint32_t i = 0; i < windowCount; ++i) {
        const CGFloat x = static_cast<CGFloat>(i % 40) * 48 + offset;
        const CGFloat y = static_cast<CGFloat>(i / 40) * 43 + offset;
        frames.emplace(WindowID(i + 1), CGRect(x, y, 48, 43));
    }
    return frames;
}

void report(benchmark::State& state, const FakeWindowBridge& bridge) {
    const auto perPass = [&](Operation op) {
        return benchmark::Counter(static_cast<double>(bridge.count(op)),
                                  benchmark::Counter::kAvgIterations);
    };
    state.counters["reads/pass"] = perPass(Operation::frame);
    state.counters["writes/pass"] = perPass(Operation::setFrame);
    state.counters["minimizedQueries/pass"] = perPass(Operation::isWindowMinimized);
}

/// Whether the passes made `reads`, `writes` and `minimized` calls per window each.
bool callsPerWindow(benchmark::State& state, const FakeWindowBridge& bridge, std::size_t reads,
                    std::size_t writes, std::size_t minimized) {
    const auto passes = static_cast<std::size_t>(state.iterations());
    const auto each = [&](std::size_t perWindow) { return perWindow * windowCount * passes; };
    return bridge.count(Operation::frame) == each(reads) &&
           bridge.count(Operation::setFrame) == each(writes) &&
           bridge.count(Operation::isWindowMinimized) == each(minimized);
}

void addWindows(FakeWindowBridge& bridge, const std::map<WindowID, CGRect>& frames) {
    bridge.setRecording(false);
    for (const auto& [id, frame] : frames)
        bridge.add(id, frame);
}

/// Passes over a layout the windows already took: nothing may be written.
void repeatSettledPasses(benchmark::State& state, FakeWindowBridge& bridge,
                         const std::map<WindowID, CGRect>& layout) {
    Reconciler reconciler(bridge);
    reconciler.apply(layout, {});
    bridge.clearCalls();
    for (auto _ : state) {
        benchmark::DoNotOptimize(reconciler.apply(layout, {}));
    }
    report(state, bridge);
    if (!callsPerWindow(state, bridge, 1, 0, 0))
        state.SkipWithError("a settled pass did not read each window once and write none");
}

void BM_SettledPass(benchmark::State& state) {
    FakeWindowBridge bridge;
    const auto layout = grid(0);
    addWindows(bridge, layout);
    repeatSettledPasses(state, bridge, layout);
}
BENCHMARK(BM_SettledPass);

void BM_EveryWindowMoves(benchmark::State& state) {
    FakeWindowBridge bridge;
    const std::map<WindowID, CGRect> layouts[] = {grid(0), grid(5)};
    addWindows(bridge, layouts[0]);
    Reconciler reconciler(bridge);
    std::size_t turn = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reconciler.apply(layouts[turn], {}));
        turn ^= 1;
    }
    report(state, bridge);
    if (!callsPerWindow(state, bridge, 2, 1, 1))
        state.SkipWithError("a pass did not write, read twice and ask once about each window");
}
BENCHMARK(BM_EveryWindowMoves);

/// Every window keeps a minimum width above its slot: after the first pass the floors are
/// learned and later passes accept the windows as they are, without writing.
void BM_ClampedWindowsSettleOnTheirFloors(benchmark::State& state) {
    FakeWindowBridge bridge;
    const auto layout = grid(0);
    bridge.setRecording(false);
    for (const auto& [id, frame] : layout) {
        bridge.add(id, CGRect(frame.minX(), frame.minY(), 200, 43)).clampsToMinimum({60, 0});
    }
    repeatSettledPasses(state, bridge, layout);
}
BENCHMARK(BM_ClampedWindowsSettleOnTheirFloors);

}  // namespace
}  // namespace kelvo
