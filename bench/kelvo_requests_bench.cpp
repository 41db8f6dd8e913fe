// How many requests KelvoApp makes of the desktop's server: per window adopted at start-up, per
// window a desktop switch parks and per window it brings back, and per resize key. The counts
// are the server's own (`requestsServed`) and the same on every run, so that a change that adds
// round trips is seen; the times beside them swing with the machine's load.

#include "KelvoScene.h"

#include "KeyChord.h"

namespace kelvo {
namespace {

/// What is left of the work a key or a start-up caused comes within this of the last change:
/// the delayed layout retries come 150 ms apart.
constexpr auto settled = std::chrono::milliseconds(400);

/// Requests the server has answered for Kelvo so far.
double requestsSoFar(FrameWatch& watch, KelvoProcess& kelvo) {
    return static_cast<double>(watch.desktop().requestsServed(kelvo.pid()));
}

/// Waits until the windows have been still for `settled` and Kelvo answers behind that.
bool settle(FrameWatch& watch, KelvoProcess& kelvo) {
    return watch.quiet(settled) && kelvo.ping().ok;
}

/// From launching Kelvo on N windows until they are placed (`placed_ms`: the last frame change
/// of the first layout), the requests per window until start-up has logged their adoption
/// (`adoption_per_window`: the scan and the adoption, taken within a millisecond of the line,
/// before the first layout pass 16 ms later) and until the windows are still
/// (`requests_per_window`).
void startUp(benchmark::State& state) {
    guarded(state, [&] {
        const int windows = static_cast<int>(state.range(0));
        Scene scene(windows);
        FrameWatch watch(scene.desktop, scene.pids);
        std::unique_ptr<KelvoProcess> kelvo;
        double placed = 0, adoption = 0, total = 0;
        for (auto _ : state) {
            watch.arm();
            const auto launched = Clock::now();
            if (!startUntilAdopted(state, scene, kelvo)) return;
            adoption = requestsSoFar(watch, *kelvo) / windows;
            if (!watch.first() || !settle(watch, *kelvo)) {
                state.SkipWithError("Kelvo never came to rest after start-up");
                return;
            }
            placed = Milliseconds(watch.lastChange() - launched).count();
            total = requestsSoFar(watch, *kelvo) / windows;
            state.SetIterationTime(placed / 1000);
        }
        state.counters["placed_ms"] = placed;
        state.counters["adoption_per_window"] = adoption;
        state.counters["requests_per_window"] = total;
        kelvo->quit();
    });
}
BENCHMARK(startUp)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->ArgName("windows")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

/// A key pressed on the desktop's keyboard and the requests its work took, once it has moved a
/// window and the windows are still again; none (with the benchmark skipped) when Kelvo did not
/// come to rest on `desktop`.
std::optional<double> requestsForKey(benchmark::State& state, RestingKelvo& running,
                                     const std::string& chordText,
                                     std::optional<int> desktop = std::nullopt) {
    const auto chord = kelvo_sim::KeyChord::parse(chordText);
    const double before = requestsSoFar(*running.watch, *running.kelvo);
    running.watch->arm();
    running.watch->desktop().key(chord->keyCode, chord->flags);
    if (!running.watch->first() || !settle(*running.watch, *running.kelvo)) {
        state.SkipWithError((chordText + " never came to rest").c_str());
        return std::nullopt;
    }
    const double requests = requestsSoFar(*running.watch, *running.kelvo) - before;
    const bool arrived = !desktop || pollUntil([&] {
        const auto reply = running.kelvo->state();
        return reply.ok && reply.activeDesktop == *desktop;
    });
    if (!arrived) {
        state.SkipWithError((chordText + " did not reach its desktop").c_str());
        return std::nullopt;
    }
    return requests;
}

/// N windows on desktop 1 and N on desktop 2, desktop 3 empty. Per window: ⌥3 from desktop 2
/// parks its N (`parked`), ⌥1 from 3 brings desktop 1's N back (`unparked`), ⌥2 from 1 does
/// both (`moved`, per window moved either way); then the requests of one resize key.
void switchAndResize(benchmark::State& state) {
    guarded(state, [&] {
        const int windows = static_cast<int>(state.range(0));
        RestingKelvo running(windows);
        if (!running.start(state)) return;
        std::optional<double> parked, unparked, moved, resize;
        for (auto _ : state) {
            if (!requestsForKey(state, running, "alt+2", 2)) return;
            running.scene.open(windows);
            running.watch = std::make_unique<FrameWatch>(running.scene.desktop, running.scene.pids);
            if (!settle(*running.watch, *running.kelvo)) {
                state.SkipWithError("the windows of desktop 2 never came to rest");
                return;
            }
            if (!(parked = requestsForKey(state, running, "alt+3", 3))) return;
            if (!(unparked = requestsForKey(state, running, "alt+1", 1))) return;
            if (!(moved = requestsForKey(state, running, "alt+2", 2))) return;
            if (!(resize = requestsForKey(state, running, "ctrl+alt+l"))) return;
        }
        state.counters["parked_per_window"] = *parked / windows;
        state.counters["unparked_per_window"] = *unparked / windows;
        state.counters["moved_per_window"] = *moved / (2.0 * windows);
        state.counters["per_resize"] = *resize;
        running.kelvo->quit();
    });
}
BENCHMARK(switchAndResize)->Apply(windowCounts)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo
