// A keystroke in the launcher over 500 installed applications on a served desktop, one key per
// iteration: from the key entering the desktop (as `kelvo-sim type` sends it) to the panel's new
// picture held by the desktop. Timed between them: the key routed over the socket to this
// process and to the panel's query field, the query ranked over every candidate, the rows
// published, the view laid out and drawn with each row's icon (the bundle's own where it has
// one, the generic application icon otherwise, as the catalogue finds them), packed and sent
// back over the socket, read and checked by the server.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherController.h"
#include "ServedDesktop.h"
#include "Support/Simulator/ApplicationTree.h"

namespace kelvo::bench {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t applicationCount = 500;
/// One bundle in this many has an icon of its own.
constexpr std::size_t ownIconEvery = 10;
constexpr std::uint16_t deleteKey = 51;
constexpr const char* installedPrefix = "com.example.app";
/// What runs untimed after each key, so that the next one meets a panel at rest.
constexpr auto settleAfterKey = 10ms;

const std::vector<std::string> nameWords = {
    "Mail",    "Maps",     "Notes",     "Photos",  "Music",   "Calendar", "Contacts", "Terminal",
    "Preview", "Browser",  "Editor",    "Books",   "News",    "Weather",  "Clock",    "Stocks",
    "Podcast", "Reminder", "Chess",     "Console", "Monitor", "Keynote",  "Numbers",  "Pages",
    "Studio",  "Camera",   "Voice",     "Finder",  "Archive", "Disk",     "Font",     "Color",
    "Script",  "Shortcut", "Translate", "Home",    "Wallet",  "Journal",  "Freeform", "Mirror",
    "Paint",   "Sketch",   "Code",      "Python",  "Docker",  "Slack",    "Zoom",     "Spotify",
    "Vault",   "Backup"};
const std::vector<std::string> nameEndings = {"",      " Pro", " Studio", " Lite", " Plus",
                                              " Desk", " Go",  " Mini",   " Max",  " One"};
/// What a person types, a character at a time, into an empty query (emptied with Delete,
/// untimed, after each word).
const std::vector<std::string> typedWords = {"term", "maps", "photo", "notes", "cal", "code"};

void installApplications(const ApplicationTree& tree) {
    for (std::size_t i = 0; i < applicationCount; ++i) {
        const std::string name = nameWords[i % nameWords.size()] +
                                 nameEndings[i / nameWords.size() % nameEndings.size()];
        ApplicationTree::install(tree.applications, name + ".app",
                                 BundleContents{.bundleID = installedPrefix + std::to_string(i),
                                                .name = name,
                                                .icon = i % ownIconEvery == 0});
    }
}

bool everyRowHasAnIcon(const LauncherController& launcher) {
    const auto& rows = launcher.model().rows.get();
    return !rows.empty() && std::all_of(rows.begin(), rows.end(), [](const LauncherRowItem& row) {
        return row.icon != nullptr;
    });
}

/// The launcher shown over another application on a served desktop whose machine holds the
/// applications, its rows held by the desktop.
class LauncherScene {
  public:
    LauncherScene() {
        tree.clear();
        installApplications(tree);
        served.desktop->setFileSystemRoot(tree.root.string());
        sim::ApplicationSpec editor;
        editor.bundleID = "com.example.editor";
        editor.name = "Editor";
        served.desktop->activate(served.desktop->launch(editor));
        launcher = std::make_unique<LauncherController>(
            LauncherController::Callbacks{
                .desktopOf = [](const std::string&) { return std::nullopt; },
                .bringsHere = [](const LauncherEntry&) { return false; },
                .recents = [] { return std::vector<std::string>{}; },
                .vimMode = [] { return false; },
            },
            LauncherController::Sources{});
        launcher->show();
        ready = served
                    .runUntil([](sim::DesktopClient&) {},
                              [this](const auto& held) {
                                  return installedEntries() == applicationCount &&
                                         textFieldValue(held) == "";
                              })
                    .has_value();
        served.runFor(50ms);
    }
    ~LauncherScene() { launcher.reset(); }

    /// The candidates that are the installed bundles (the running applications come too).
    std::size_t installedEntries() const {
        const auto& entries = launcher->model().model().entries();
        return static_cast<std::size_t>(
            std::count_if(entries.begin(), entries.end(), [](const LauncherEntry& entry) {
                return entry.bundleID.starts_with(installedPrefix);
            }));
    }

    ApplicationTree& tree = ApplicationTree::shared();
    ServedDesktop served;
    std::unique_ptr<LauncherController> launcher;
    bool ready = false;
};

void launcherKeystroke(benchmark::State& state) {
    LauncherScene scene;
    if (!scene.ready) return state.SkipWithError("the launcher never showed its 500 rows");
    std::size_t word = 0;
    std::string query;
    std::uint64_t pictures = 0;
    for (auto _ : state) {
        query += typedWords[word][query.size()];
        const auto picturesBefore = scene.launcher->panel().picturesSent();
        const auto took = scene.served.typeLastOf(query);
        if (!took) return state.SkipWithError("the typed query never reached the desktop");
        state.SetIterationTime(std::chrono::duration<double>(*took).count());
        // Untimed: whatever else the key makes the panel draw.
        scene.served.runFor(settleAfterKey);
        pictures += scene.launcher->panel().picturesSent() - picturesBefore;
        if (!everyRowHasAnIcon(*scene.launcher)) return state.SkipWithError("a row shows no icon");
        if (query.size() == typedWords[word].size()) {
            while (!query.empty()) {
                query.pop_back();
                const bool deleted =
                    scene.served
                        .runUntil([](sim::DesktopClient& person) { person.key(deleteKey, 0); },
                                  [&](const auto& held) { return textFieldValue(held) == query; })
                        .has_value();
                if (!deleted) return state.SkipWithError("Delete did not shorten the query");
            }
            scene.served.runFor(settleAfterKey);
            word = (word + 1) % typedWords.size();
        }
    }
    state.counters["pictures/key"] =
        benchmark::Counter(static_cast<double>(pictures), benchmark::Counter::kAvgIterations);
}
BENCHMARK(launcherKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo::bench
