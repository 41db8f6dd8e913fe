#include <benchmark/benchmark.h>

#include <string>

#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Settings/SettingsSearch.h"

namespace {

// What a person types into the settings search, a character at a time; the second text is
// a query that goes on matching little, which makes every row fail late.
constexpr const char* typed = "focusbor";
constexpr const char* scattered = "eaoinstr";

// One keystroke as the settings window handles it: the catalogue rebuilt from the current
// configuration, then the query re-ranked over every row.
void keystroke(benchmark::State& state, const char* text) {
    const kelvo::Config config;
    const std::string query(text, static_cast<std::size_t>(state.range(0)));
    kelvo::SettingsSearch search;
    for (auto _ : state) {
        search.setEntries(kelvo::SettingsCatalog::entries(config));
        search.type(query);
        benchmark::DoNotOptimize(search.matches().data());
    }
    state.counters["rows"] = static_cast<double>(search.entries().size());
    state.counters["matches"] = static_cast<double>(search.matches().size());
}

void BM_SettingsSearchKeystroke(benchmark::State& state) {
    keystroke(state, typed);
}
BENCHMARK(BM_SettingsSearchKeystroke)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

void BM_SettingsSearchKeystrokeScattered(benchmark::State& state) {
    keystroke(state, scattered);
}
BENCHMARK(BM_SettingsSearchKeystrokeScattered)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

// The ranking alone, over a catalogue built once.
void BM_SettingsSearchRank(benchmark::State& state) {
    const auto rows = kelvo::SettingsCatalog::entries(kelvo::Config());
    const std::string query(typed, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::SettingsSearch::rank(query, rows));
}
BENCHMARK(BM_SettingsSearchRank)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

}  // namespace
