// KelvoApp as a process beside `kelvo-sim serve` and fixture applications, the way a person
// meets it: how long start-up takes until the windows already open are placed, how long a
// desktop-switch key and a resize key take from entering the desktop to the last frame write
// of what they do (the first write is a counter beside it), and how much memory the process
// holds with its windows managed. Every process a benchmark starts is ended by its pid when the
// benchmark ends, pass or fail.

#include "KelvoScene.h"

#include "KeyChord.h"

namespace kelvo {
namespace {

// ---- (a) Start-up ----------------------------------------------------------------------------

/// How long the windows stay still before the last change counts as the end of what a step did.
constexpr auto stillAfterwards = std::chrono::milliseconds(200);

/// From launching KelvoApp with N windows already open (each back where it opened) to the last
/// frame write of the first layout that places them, once they have been still for 200 ms;
/// `adopted_ms` is the time to the log line "adopted N existing window(s) at launch …" and
/// `ready_ms` to the first answered test-mode request.
void kelvoStartUp(benchmark::State& state) {
    guarded(state, [&] {
        Scene scene(static_cast<int>(state.range(0)));
        FrameWatch watch(scene.desktop, scene.pids);
        double adopted = 0, ready = 0, placed = 0;
        for (auto _ : state) {
            std::unique_ptr<KelvoProcess> kelvo;
            watch.arm();
            const auto launched = Clock::now();
            const auto took = startUntilAdopted(state, scene, kelvo);
            if (!took) break;
            const bool answered = kelvo->ping().ok;
            const Milliseconds untilReady(Clock::now() - launched);
            if (!answered || !watch.first() || !watch.quiet(stillAfterwards)) {
                state.SkipWithError("Kelvo never placed the windows after start-up");
                break;
            }
            const Milliseconds untilPlaced(watch.lastChange() - launched);
            state.SetIterationTime(std::chrono::duration<double>(untilPlaced).count());
            adopted += took->count();
            ready += untilReady.count();
            placed += untilPlaced.count();
            kelvo->quit();
            scene.scatter();
            if (!watch.quiet(stillAfterwards)) {
                state.SkipWithError("the windows never came to rest after Kelvo quit");
                break;
            }
        }
        const double runs = static_cast<double>(state.iterations());
        state.counters["adopted_ms"] = runs > 0 ? adopted / runs : 0;
        state.counters["ready_ms"] = runs > 0 ? ready / runs : 0;
        state.counters["placed_ms"] = runs > 0 ? placed / runs : 0;
    });
}
BENCHMARK(kelvoStartUp)->Apply(windowCounts)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- (b) Key press to the last frame write ---------------------------------------------------

/// When a key's writes began and ended: its first frame write and the last one before the
/// windows were still for 200 ms.
struct Writes {
    Milliseconds first;
    Milliseconds last;
};

/// Presses the chord on the desktop's keyboard, as `kelvo-sim key` does, and waits until what
/// it caused is over; none (with the benchmark skipped) when it caused no frame write or the
/// windows never came to rest.
std::optional<Writes> keyToWrites(benchmark::State& state, FrameWatch& watch,
                                  const std::string& chordText) {
    const auto chord = kelvo_sim::KeyChord::parse(chordText);
    watch.arm();
    const auto pressed = Clock::now();
    watch.desktop().key(chord->keyCode, chord->flags);
    const auto written = watch.first();
    if (!written || !watch.quiet(stillAfterwards)) {
        state.SkipWithError((chordText + " caused no frame write, or no rest").c_str());
        return std::nullopt;
    }
    return Writes{Milliseconds(*written - pressed), Milliseconds(watch.lastChange() - pressed)};
}

/// From a desktop switch key entering the desktop (the server's input path, as `kelvo-sim key`
/// uses it) to the last frame write of the switch, with N windows on desktop 1 and none on
/// desktop 2: ⌥2 parks them, ⌥1 brings them back. The time is the mean of both directions; the
/// counters give each direction's last write (`park_ms`, `unpark_ms`) and first write
/// (`parkFirstWrite_ms`, `unparkFirstWrite_ms`: a park, or a layout write after the incoming
/// windows' minimized reads).
void desktopSwitchKeyToLastFrameWrite(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        KelvoProcess& kelvo = *running.kelvo;
        FrameWatch& watch = *running.watch;
        // Per direction (0: ⌥1, back to the windows; 1: ⌥2, away from them).
        double first[2] = {0, 0}, last[2] = {0, 0};
        int presses[2] = {0, 0};
        int target = 2;
        for (auto _ : state) {
            const auto writes = keyToWrites(state, watch, "alt+" + std::to_string(target));
            if (!writes) break;
            state.SetIterationTime(std::chrono::duration<double>(writes->last).count());
            const bool switched = pollUntil([&] {
                const auto reply = kelvo.state();
                return reply.ok && reply.activeDesktop == target;
            });
            if (!switched || !kelvo.ping().ok) {
                state.SkipWithError("the switch never finished");
                break;
            }
            first[target - 1] += writes->first.count();
            last[target - 1] += writes->last.count();
            presses[target - 1] += 1;
            target = 3 - target;
        }
        const auto mean = [&](const double* sums, int direction) {
            return presses[direction] > 0 ? sums[direction] / presses[direction] : 0;
        };
        state.counters["park_ms"] = mean(last, 1);
        state.counters["unpark_ms"] = mean(last, 0);
        state.counters["parkFirstWrite_ms"] = mean(first, 1);
        state.counters["unparkFirstWrite_ms"] = mean(first, 0);
        kelvo.quit();
    });
}
BENCHMARK(desktopSwitchKeyToLastFrameWrite)
    ->Apply(windowCounts)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

/// From a resize key entering the desktop to the last frame write it causes, with N windows
/// on the active desktop: the layout request waits the 16 ms coalescing delay, so the time is
/// that delay and Kelvo's own work; `firstWrite_ms` is the first write's. The keys move the
/// focused window's edge right and back.
void resizeKeyToLastFrameWrite(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        KelvoProcess& kelvo = *running.kelvo;
        FrameWatch& watch = *running.watch;
        bool right = true;
        double first = 0;
        for (auto _ : state) {
            const auto writes = keyToWrites(state, watch, right ? "ctrl+alt+l" : "ctrl+alt+h");
            if (!writes || !kelvo.ping().ok) break;
            state.SetIterationTime(std::chrono::duration<double>(writes->last).count());
            first += writes->first.count();
            right = !right;
        }
        const double runs = static_cast<double>(state.iterations());
        state.counters["firstWrite_ms"] = runs > 0 ? first / runs : 0;
        kelvo.quit();
    });
}
BENCHMARK(resizeKeyToLastFrameWrite)
    ->Apply(windowCounts)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---- (c) Memory ------------------------------------------------------------------------------

/// KelvoApp's resident memory with N windows managed, once start-up has adopted them and the
/// first layout pass has placed them: VmRSS and VmHWM of /proc/<pid>/status, in kB.
void kelvoResidentMemory(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        KelvoProcess& kelvo = *running.kelvo;
        std::optional<double> resident, peak;
        for (auto _ : state) {
            resident = statusKilobytes(kelvo.pid(), "VmRSS");
            peak = statusKilobytes(kelvo.pid(), "VmHWM");
            benchmark::DoNotOptimize(resident);
        }
        if (!resident || !peak) {
            state.SkipWithError("/proc/<pid>/status could not be read");
            return;
        }
        state.counters["VmRSS_kB"] = *resident;
        state.counters["VmHWM_kB"] = *peak;
        kelvo.quit();
    });
}
BENCHMARK(kelvoResidentMemory)->Apply(windowCounts)->Iterations(1);

}  // namespace
}  // namespace kelvo
