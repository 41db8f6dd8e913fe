// The settings search's ranking over the settings catalogue: the search's part of a keystroke
// alone, with no field, view or desktop (settings_view_bench times the keystroke from the key
// to the window's picture at the desktop).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Settings/SettingsSearch.h"

namespace {

// What a person types into the settings search, a character at a time; the second text is
// a query that goes on matching little, which makes every row fail late.
constexpr const char* typed = "focusbor";
constexpr const char* scattered = "eaoinstr";

/// The catalogue made again from the configuration, `copies` times over (each copy's ids
/// marked), as a larger catalogue would be.
std::vector<kelvo::SettingEntry> catalogue(const kelvo::Config& config, int copies) {
    std::vector<kelvo::SettingEntry> rows;
    for (int copy = 0; copy < copies; ++copy) {
        for (kelvo::SettingEntry& row : kelvo::SettingsCatalog::entries(config)) {
            if (copy > 0) row.id += "." + std::to_string(copy);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

// One keystroke as the settings window handles it: the rows asked for again from the current
// configuration (made again only when it changed), then the query re-ranked over every row.
void keystroke(benchmark::State& state, const char* text) {
    const kelvo::Config config;
    const std::string query(text, static_cast<std::size_t>(state.range(0)));
    kelvo::SettingsSearch search;
    for (auto _ : state) {
        search.setCatalogue(config);
        search.type(query);
        benchmark::DoNotOptimize(search.matchPositions().data());
    }
    state.counters["rows"] = static_cast<double>(search.entries().size());
    state.counters["matches"] = static_cast<double>(search.matchPositions().size());
}

void BM_SettingsSearchKeystroke(benchmark::State& state) {
    keystroke(state, typed);
}
BENCHMARK(BM_SettingsSearchKeystroke)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

void BM_SettingsSearchKeystrokeScattered(benchmark::State& state) {
    keystroke(state, scattered);
}
BENCHMARK(BM_SettingsSearchKeystrokeScattered)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

// A keystroke with the rows made again each time, `copies` times over, and handed to the search
// as rows: what a keystroke costs when the catalogue is rebuilt for it.
void keystrokeWithRowsMadeAgain(benchmark::State& state, int copies) {
    const kelvo::Config config;
    const std::string query(typed, static_cast<std::size_t>(state.range(0)));
    kelvo::SettingsSearch search;
    for (auto _ : state) {
        search.setEntries(catalogue(config, copies));
        search.type(query);
        benchmark::DoNotOptimize(search.matchPositions().data());
    }
    state.counters["rows"] = static_cast<double>(search.entries().size());
}

void BM_SettingsSearchKeystrokeRowsMadeAgain(benchmark::State& state) {
    keystrokeWithRowsMadeAgain(state, 1);
}
BENCHMARK(BM_SettingsSearchKeystrokeRowsMadeAgain)->Arg(8)->Unit(benchmark::kMicrosecond);

// The same over some 500 rows: the catalogue eight times over.
void BM_SettingsSearchKeystroke500RowsMadeAgain(benchmark::State& state) {
    keystrokeWithRowsMadeAgain(state, 8);
}
BENCHMARK(BM_SettingsSearchKeystroke500RowsMadeAgain)->Arg(8)->Unit(benchmark::kMicrosecond);

// The search's own part of a keystroke over those rows, the rows' folding kept: what is left
// once the catalogue has been made again.
void BM_SettingsSearchType500Rows(benchmark::State& state) {
    const std::string query(typed, static_cast<std::size_t>(state.range(0)));
    kelvo::SettingsSearch search(catalogue(kelvo::Config(), 8));
    for (auto _ : state) {
        search.type(query);
        benchmark::DoNotOptimize(search.matchPositions().data());
    }
    state.counters["rows"] = static_cast<double>(search.entries().size());
}
BENCHMARK(BM_SettingsSearchType500Rows)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

// The ranking alone, over a catalogue built once.
void BM_SettingsSearchRank(benchmark::State& state) {
    const auto rows = kelvo::SettingsCatalog::entries(kelvo::Config());
    const std::string query(typed, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::SettingsSearch::rank(query, rows));
}
BENCHMARK(BM_SettingsSearchRank)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

}  // namespace
