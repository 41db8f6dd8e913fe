// The system's own windows of KelvoApp as a process beside `kelvo-sim serve`, the way a person
// meets them: the first opening of each (the settings window and the guide from the status
// item's menu, the launcher and the cheat sheet from their shortcuts), from the pick or the key
// entering the desktop to the window's first picture held by the desktop; and what KelvoApp
// holds in memory before, while and after the settings window is open. Each opening is the
// first of its process, so every iteration starts Kelvo anew. Every process a benchmark starts
// is ended by its pid when the benchmark ends, pass or fail.

#include <algorithm>
#include <set>
#include <thread>

#include "KelvoScene.h"
#include "KeyChord.h"
#include "Simulator/TitleBarButtons.h"

namespace kelvo {
namespace {

using namespace std::chrono_literals;

/// The windows of the system that open from the status menu or a shortcut.
enum class OwnWindow { settings = 0, guide = 1, launcher = 2, cheatSheet = 3 };

/// The windows of Kelvo the desktop shows now.
std::set<sim::WindowNumber> ownWindowsOf(sim::DesktopClient& desktop, sim::Pid pid) {
    std::set<sim::WindowNumber> numbers;
    for (const sim::ElementRecord& record : desktop.elements(pid))
        numbers.insert(record.window);
    return numbers;
}

/// Whether the desktop lists the element for a window before its process has drawn anything in
/// it: the window itself, and the buttons of a titled window's title bar.
bool listedBeforeTheContent(const sim::InterfaceElement& element) {
    if (element.role == "window") return true;
    using Kind = sim::TitleBarButton::Kind;
    for (const Kind kind : {Kind::close, Kind::minimize, Kind::zoom})
        if (element.identifier == sim::TitleBarButton::identifier(kind)) return true;
    return false;
}

/// A window of Kelvo that is not among `before` and whose content has reached the desktop: its
/// elements come with its first picture, in one message.
std::optional<sim::WindowNumber> drawnWindow(sim::DesktopClient& desktop, sim::Pid pid,
                                             const std::set<sim::WindowNumber>& before) {
    for (const sim::ElementRecord& record : desktop.elements(pid)) {
        if (!before.contains(record.window) && !listedBeforeTheContent(record.element))
            return record.window;
    }
    return std::nullopt;
}

/// Opens Kelvo's status menu with a right click on its item and waits until it shows.
bool openStatusMenu(sim::DesktopClient& desktop, sim::Pid pid) {
    std::optional<CGRect> item;
    if (!pollUntil([&] {
            for (const sim::StatusItemInfo& each : desktop.statusItems())
                if (each.pid == pid) item = each.frame;
            return item.has_value();
        }))
        return false;
    desktop.rightClick(item->midX(), item->midY(), 0);
    return pollUntil([&] { return !desktop.openMenu().empty(); });
}

/// What a person does to open the window: picks its item in the open status menu, or presses
/// its shortcut.
void open(sim::DesktopClient& desktop, OwnWindow window) {
    switch (window) {
        case OwnWindow::settings:
            desktop.pickMenuItem("Settings…");
            return;
        case OwnWindow::guide:
            desktop.pickMenuItem("Guide…");
            return;
        case OwnWindow::launcher:
        case OwnWindow::cheatSheet: {
            const auto chord =
                kelvo_sim::KeyChord::parse(window == OwnWindow::launcher ? "alt+space" : "alt+/");
            desktop.key(chord->keyCode, chord->flags);
            return;
        }
    }
}

/// The time a process's main thread has run so far (the first field of /proc/<pid>/schedstat);
/// none when it cannot be read.
std::optional<Milliseconds> mainThreadTime(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/schedstat");
    double nanoseconds = 0;
    if (!(file >> nanoseconds)) return std::nullopt;
    return Milliseconds(nanoseconds / 1e6);
}

/// From the pick in the status menu, or the shortcut entering the desktop, to the window's
/// first picture held by the desktop, the first opening of that window in a Kelvo resting on N
/// windows. `packedBytes` is the size of that picture as the desktop holds it; `mainThread_ms`
/// the time Kelvo's main thread ran meanwhile, which a busy machine stretches less than it
/// stretches the wait.
void kelvoFirstOpening(benchmark::State& state) {
    guarded(state, [&] {
        const auto window = static_cast<OwnWindow>(state.range(1));
        double packed = 0, mainThread = 0;
        for (auto _ : state) {
            RestingKelvo running(static_cast<int>(state.range(0)));
            if (!running.start(state)) return;
            sim::DesktopClient& desktop = running.watch->desktop();
            const auto pid = static_cast<sim::Pid>(running.kelvo->pid());
            if (window == OwnWindow::settings || window == OwnWindow::guide) {
                if (!openStatusMenu(desktop, pid))
                    return state.SkipWithError("the status menu never opened");
            }
            const auto before = ownWindowsOf(desktop, pid);
            std::optional<sim::WindowNumber> drawn;
            const auto ranBefore = mainThreadTime(pid);
            const auto asked = Clock::now();
            open(desktop, window);
            if (!pollUntil([&] { return (drawn = drawnWindow(desktop, pid, before)).has_value(); }))
                return state.SkipWithError("the window never reached the desktop");
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - asked).count());
            const auto ranAfter = mainThreadTime(pid);
            if (ranBefore && ranAfter) mainThread += (*ranAfter - *ranBefore).count();
            const auto picture = desktop.ownWindowPicture(*drawn);
            if (picture.isEmpty()) return state.SkipWithError("the window came without a picture");
            packed = static_cast<double>(picture.packed.size());
            running.kelvo->quit();
        }
        state.counters["packedBytes"] = packed;
        const double runs = static_cast<double>(state.iterations());
        state.counters["mainThread_ms"] = runs > 0 ? mainThread / runs : 0;
    });
}
BENCHMARK(kelvoFirstOpening)
    ->ArgNames({"windows", "window"})
    ->ArgsProduct({{10}, {0, 1, 2, 3}})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

/// How long after the settings window closed its memory is counted.
constexpr auto afterClosing = 2s;

/// What /proc/<pid>/status says of a process's resident memory, in kB: all of it (VmRSS), the
/// memory of its own (RssAnon: its heap, stacks and other private pages) and the pages of files
/// it maps (RssFile: the code of its libraries and the fonts, shared and given back to the
/// system when it needs them).
struct Resident {
    double all = 0, own = 0, files = 0;
    static std::optional<Resident> of(pid_t pid) {
        const auto all = statusKilobytes(pid, "VmRSS");
        const auto own = statusKilobytes(pid, "RssAnon");
        const auto files = statusKilobytes(pid, "RssFile");
        if (!all || !own || !files) return std::nullopt;
        return Resident{*all, *own, *files};
    }
};

/// KelvoApp's resident memory (VmRSS of /proc/<pid>/status, in kB) resting on N windows
/// (`idle_kB`), with the settings window open and drawn (`open_kB`) and 2 s after its close
/// button was pressed (`closed_kB`); `kept_kB` is what closing leaves of the opening: the
/// window, its view and its model, which live on to be shown again, and the caches of the fonts
/// it drew with. `keptOwn_kB` and `keptFiles_kB` divide it into the process's own memory and
/// the pages of the libraries and fonts the window's drawing first used.
void kelvoSettingsWindowMemory(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        sim::DesktopClient& desktop = running.watch->desktop();
        const pid_t pid = running.kelvo->pid();
        std::optional<Resident> idle, opened, closed;
        for (auto _ : state) {
            idle = Resident::of(pid);
            if (!openStatusMenu(desktop, pid))
                return state.SkipWithError("the status menu never opened");
            const auto before = ownWindowsOf(desktop, pid);
            std::optional<sim::WindowNumber> drawn;
            open(desktop, OwnWindow::settings);
            if (!pollUntil([&] { return (drawn = drawnWindow(desktop, pid, before)).has_value(); }))
                return state.SkipWithError("the settings window never reached the desktop");
            // Read once the window has been shown for a moment, as a person sees it.
            std::this_thread::sleep_for(500ms);
            opened = Resident::of(pid);
            if (!desktop.pressCloseButton(*drawn))
                return state.SkipWithError("the settings window had no close button");
            std::this_thread::sleep_for(afterClosing);
            closed = Resident::of(pid);
        }
        if (!idle || !opened || !closed)
            return state.SkipWithError("/proc/<pid>/status could not be read");
        state.counters["idle_kB"] = idle->all;
        state.counters["open_kB"] = opened->all;
        state.counters["closed_kB"] = closed->all;
        state.counters["kept_kB"] = closed->all - idle->all;
        state.counters["keptOwn_kB"] = closed->own - idle->own;
        state.counters["keptFiles_kB"] = closed->files - idle->files;
        if (const auto peak = statusKilobytes(pid, "VmHWM")) state.counters["VmHWM_kB"] = *peak;
        running.kelvo->quit();
    });
}
BENCHMARK(kelvoSettingsWindowMemory)->Apply(windowCounts)->Iterations(1);

}  // namespace
}  // namespace kelvo
