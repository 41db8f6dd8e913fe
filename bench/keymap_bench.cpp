// The key map's lookup of a chord and its building from the configuration: the part of every key
// press that decides whether it is a shortcut, with no tap and no desktop.

#include <benchmark/benchmark.h>

#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace {

// Every key press of the whole system goes through one lookup while the tap is armed.
void BM_KeymapLookup(benchmark::State& state) {
    const kelvo::Keymap keymap{kelvo::Config::defaults()};
    const kelvo::Chord bound{.keyCode = kelvo::KeyCode::h, .option = true};
    const kelvo::Chord unbound{.keyCode = kelvo::KeyCode::h, .shift = true};
    for (auto _ : state) {
        benchmark::DoNotOptimize(keymap.command(bound));
        benchmark::DoNotOptimize(keymap.command(unbound));
    }
}
BENCHMARK(BM_KeymapLookup);

// Rebuilt whole on every configuration change.
void BM_KeymapBuild(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::Keymap{kelvo::Config::defaults()});
}
BENCHMARK(BM_KeymapBuild);

}  // namespace
