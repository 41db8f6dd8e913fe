// The launcher's ranking over 500 installed applications: the model's part of a launcher
// keystroke alone, with no field, view or desktop (launcher_keystroke_bench times the keystroke
// from the key to the panel's picture at the desktop).

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "KelvoCore/Launcher/LauncherMatcher.h"
#include "KelvoCore/Launcher/LauncherModel.h"

namespace {

using kelvo::LauncherEntry;

/// 500 application names of the kinds an application folder holds: one to three words,
/// some with camel case, digits, punctuation or letters beyond ASCII.
std::vector<LauncherEntry> installedApplications() {
    const std::vector<std::string> words = {
        "Activity", "Monitor",  "Audio",     "Book",     "Calendar",  "Capture", "Chess",
        "Code",     "Color",    "Console",   "Contacts", "Disk",      "Utility", "Editor",
        "Font",     "Grapher",  "Image",     "Keychain", "Mail",      "Maps",    "Messages",
        "Music",    "Notes",    "Photo",     "Preview",  "Reminders", "Script",  "Studio",
        "System",   "Settings", "Terminal",  "Text",     "Time",      "Machine", "Voice",
        "Memos",    "Weather",  "Pro",       "Player",   "Manager",   "Sync",    "Cloud",
        "Drive",    "Office",   "Sheets",    "Slides",   "Word",      "Draw",    "Sketch",
        "Paint",    "Viewer",   "Server",    "Client",   "Desktop",   "Numbers", "Keynote",
        "Pages",    "Podcasts", "Shortcuts", "Stocks",   "Books",     "Home",    "News"};
    const std::vector<std::string> flavoured = {"iStat Menus",
                                                "TextEdit",
                                                "Tex-Edit Plus",
                                                "Disk Utility (Beta)",
                                                "Caf\u00e9 Kasse",
                                                "R\u00e9sum\u00e9 Builder",
                                                "\u00dcbersetzer",
                                                "Stra\u00dfen & Wege",
                                                "\u65e5\u672c\u8a9e\u30ce\u30fc\u30c8",
                                                "Photo Booth 2",
                                                "Time Machine 11",
                                                "net.Radio"};
    std::mt19937 random(42);
    std::vector<LauncherEntry> entries;
    for (int i = 0; entries.size() < 500; ++i) {
        std::string name;
        if (i % 12 == 0) {
            name = flavoured[static_cast<std::size_t>(i / 12) % flavoured.size()];
        } else {
            const int count = 1 + static_cast<int>(random() % 3);
            for (int w = 0; w < count; ++w) {
                if (w > 0) name += ' ';
                name += words[random() % words.size()];
            }
        }
        entries.push_back({"com.example.app" + std::to_string(i), name, random() % 4 == 0});
    }
    return entries;
}

void typeOneKeyAtATime(benchmark::State& state, const std::string& query) {
    const std::vector<LauncherEntry> entries = installedApplications();
    const std::vector<std::string> recents = {"com.example.app3", "com.example.app40"};
    for (auto _ : state) {
        for (std::size_t length = 1; length <= query.size(); ++length) {
            benchmark::DoNotOptimize(
                kelvo::LauncherMatcher::rank(query.substr(0, length), entries, recents));
        }
    }
    // Reported as seconds per keystroke.
    state.counters["per_keystroke"] = benchmark::Counter(
        static_cast<double>(query.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Ranking runs on every key press over every installed application.
void BM_RankWhileTyping(benchmark::State& state) {
    typeOneKeyAtATime(state, "system settings");
}
BENCHMARK(BM_RankWhileTyping)->Unit(benchmark::kMicrosecond);

// A fuzzy abbreviation matches widely, so more entries are scored to the end and sorted.
void BM_RankAbbreviation(benchmark::State& state) {
    typeOneKeyAtATime(state, "scp");
}
BENCHMARK(BM_RankAbbreviation)->Unit(benchmark::kMicrosecond);

// Letters beyond ASCII in the query take the full Unicode folding path.
void BM_RankAccentedQuery(benchmark::State& state) {
    typeOneKeyAtATime(state, "caf\u00e9 k");
}
BENCHMARK(BM_RankAccentedQuery)->Unit(benchmark::kMicrosecond);

// The empty query ranks everything and puts the recents first: what the launcher shows when it
// opens.
void BM_RankEmptyQuery(benchmark::State& state) {
    const std::vector<LauncherEntry> entries = installedApplications();
    const std::vector<std::string> recents = {"com.example.app3", "com.example.app40"};
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::LauncherMatcher::rank("", entries, recents));
}
BENCHMARK(BM_RankEmptyQuery)->Unit(benchmark::kMicrosecond);

// What one key press costs the launcher model: the new query, its ranking and the selection.
void BM_ModelTyping(benchmark::State& state) {
    kelvo::LauncherModel model(installedApplications(), {"com.example.app3"}, false);
    const std::string query = "system settings";
    for (auto _ : state) {
        for (std::size_t length = 1; length <= query.size(); ++length)
            model.type(query.substr(0, length));
        benchmark::DoNotOptimize(model.chosen());
    }
    state.counters["per_keystroke"] = benchmark::Counter(
        static_cast<double>(query.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ModelTyping)->Unit(benchmark::kMicrosecond);

}  // namespace
