// Pane rectangles and insert/remove on trees of 1 to 1,000 windows. The rectangles are asked
// for on every layout pass, so their cost must grow linearly with the number of windows, for
// a bushy tree grown by insertion as for the deepest shape, a long main-and-stack chain.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "KelvoCore/Layout/LayoutTree.h"

namespace {

using kelvo::LayoutTree;
using kelvo::WindowID;

const CGRect pane(0, 0, 2560, 1440);

/// Grown the way the store grows a split-tree desktop: each window beside the largest leaf.
LayoutTree inserted(std::int64_t count) {
    LayoutTree tree;
    for (std::int64_t i = 1; i <= count; ++i)
        tree.insert(WindowID(static_cast<std::uint32_t>(i)), std::nullopt, pane);
    return tree;
}

LayoutTree stacked(std::int64_t count) {
    std::vector<WindowID> windows;
    for (std::int64_t i = 1; i <= count; ++i)
        windows.emplace_back(static_cast<std::uint32_t>(i));
    return LayoutTree::masterStack(windows, LayoutTree::defaultMasterRatio);
}

/// Every third window with a minimum, so the dividers really give way.
LayoutTree::Minimums someMinimums(std::int64_t count) {
    LayoutTree::Minimums minimums;
    for (std::int64_t i = 1; i <= count; i += 3)
        minimums[WindowID(static_cast<std::uint32_t>(i))] = CGSize{300, 200};
    return minimums;
}

void paneRects(benchmark::State& state, const LayoutTree& tree) {
    const auto minimums = someMinimums(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(tree.rects(pane, minimums));
    state.SetComplexityN(state.range(0));
}

void BM_PaneRects(benchmark::State& state) {
    paneRects(state, inserted(state.range(0)));
}

void BM_PaneRectsStackChain(benchmark::State& state) {
    paneRects(state, stacked(state.range(0)));
}

/// One window in and out again beside the focused window, as adoption and closing do.
void BM_InsertRemove(benchmark::State& state) {
    const LayoutTree start = inserted(state.range(0));
    const WindowID focused(static_cast<std::uint32_t>(state.range(0)));
    const WindowID added(1'000'000);
    LayoutTree tree = start;
    for (auto _ : state) {
        tree.insert(added, focused, pane);
        tree.remove(added);
    }
    benchmark::DoNotOptimize(tree);
    state.SetComplexityN(state.range(0));
}

void BM_InsertRemoveStackChain(benchmark::State& state) {
    LayoutTree tree = stacked(state.range(0));
    const WindowID added(1'000'000);
    for (auto _ : state) {
        tree.insertIntoStack(added, LayoutTree::defaultMasterRatio);
        tree.remove(added);
    }
    benchmark::DoNotOptimize(tree);
    state.SetComplexityN(state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1, 10, 100, 1000})
        b->Arg(n);
    b->Complexity();
}

BENCHMARK(BM_PaneRects)->Apply(sizes);
BENCHMARK(BM_PaneRectsStackChain)->Apply(sizes);
BENCHMARK(BM_InsertRemove)->Apply(sizes);
BENCHMARK(BM_InsertRemoveStackChain)->Apply(sizes);

}  // namespace
