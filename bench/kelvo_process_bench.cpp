// KelvoApp as a process beside `kelvo-sim serve` and fixture applications, the way a person
// meets it: how long start-up takes until the windows already open are adopted, how long a
// desktop-switch key and a resize key take from entering the desktop to the first frame write
// they cause, and how much memory the process holds with its windows managed. Every process a
// benchmark starts is ended by its pid when the benchmark ends, pass or fail.

#include "KelvoScene.h"

#include "KeyChord.h"

namespace kelvo {
namespace {

// ---- (a) Start-up ----------------------------------------------------------------------------

/// From launching KelvoApp to its log line "adopted N existing window(s) at launch …", with N
/// windows already open; `ready_ms` goes on to the first answered test-mode request.
void kelvoStartUp(benchmark::State& state) {
    guarded(state, [&] {
        Scene scene(static_cast<int>(state.range(0)));
        double adopted = 0, ready = 0;
        for (auto _ : state) {
            std::unique_ptr<KelvoProcess> kelvo;
            const auto launched = Clock::now();
            const auto took = startUntilAdopted(state, scene, kelvo);
            if (!took) break;
            if (!kelvo->ping().ok) {
                state.SkipWithError("Kelvo did not answer after start-up");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(*took).count());
            adopted += took->count();
            ready += Milliseconds(Clock::now() - launched).count();
            kelvo->quit();
        }
        const double runs = static_cast<double>(state.iterations());
        state.counters["adopted_ms"] = runs > 0 ? adopted / runs : 0;
        state.counters["ready_ms"] = runs > 0 ? ready / runs : 0;
    });
}
BENCHMARK(kelvoStartUp)->Apply(windowCounts)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- (b) Key press to the first frame write --------------------------------------------------

/// Presses the chord on the desktop's keyboard, as `kelvo-sim key` does, and takes the time
/// until the first frame write it causes as the iteration's time; none (with the benchmark
/// skipped) when it causes none.
std::optional<Clock::time_point> keyToFirstWrite(benchmark::State& state, FrameWatch& watch,
                                                 const std::string& chordText) {
    const auto chord = kelvo_sim::KeyChord::parse(chordText);
    watch.arm();
    const auto pressed = Clock::now();
    watch.desktop().key(chord->keyCode, chord->flags);
    const auto written = watch.first();
    if (!written) {
        state.SkipWithError("the key caused no frame write");
        return std::nullopt;
    }
    state.SetIterationTime(std::chrono::duration<double>(*written - pressed).count());
    return written;
}

/// From a key entering the desktop (the server's input path, as `kelvo-sim key` uses it) to the
/// first frame write it causes, with N windows on desktop 1 and none on desktop 2: ⌥2 parks
/// them (the first write is a park), ⌥1 brings them back (the first write is a layout write,
/// after the incoming windows' minimized reads). The time is the mean of both directions; the
/// counters give each direction, and `…Idle_ms` the time until Kelvo answers a test-mode ping
/// sent once the windows have been still for 20 ms: the switch, and the echoes of its own
/// writes that Kelvo's event stream hands to the main thread, are done by then.
void keyToFirstFrameWrite(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        KelvoProcess& kelvo = *running.kelvo;
        FrameWatch& watch = *running.watch;
        // Per direction (0: ⌥1, back to the windows; 1: ⌥2, away from them).
        double firstWrite[2] = {0, 0}, idle[2] = {0, 0};
        int presses[2] = {0, 0};
        int target = 2;
        for (auto _ : state) {
            const auto pressed = Clock::now();
            const auto written = keyToFirstWrite(state, watch, "alt+" + std::to_string(target));
            if (!written) break;
            const Milliseconds took(*written - pressed);
            // Untimed: the switch, its coalesced pass, its audit and the echoes finish before
            // the next key, so that each press meets an idle Kelvo.
            const bool done = watch.quiet(std::chrono::milliseconds(20)) && kelvo.ping().ok;
            const Milliseconds untilIdle(Clock::now() - pressed);
            const bool switched = done && pollUntil([&] {
                                      const auto reply = kelvo.state();
                                      return reply.ok && reply.activeDesktop == target;
                                  });
            if (!switched || !watch.quiet(std::chrono::milliseconds(100)) || !kelvo.ping().ok) {
                state.SkipWithError("the switch never finished");
                break;
            }
            firstWrite[target - 1] += took.count();
            idle[target - 1] += untilIdle.count();
            presses[target - 1] += 1;
            target = 3 - target;
        }
        const auto mean = [&](const double* sums, int direction) {
            return presses[direction] > 0 ? sums[direction] / presses[direction] : 0;
        };
        state.counters["park_ms"] = mean(firstWrite, 1);
        state.counters["unpark_ms"] = mean(firstWrite, 0);
        state.counters["parkIdle_ms"] = mean(idle, 1);
        state.counters["unparkIdle_ms"] = mean(idle, 0);
        kelvo.quit();
    });
}
BENCHMARK(keyToFirstFrameWrite)
    ->Apply(windowCounts)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

/// From a resize key entering the desktop to the first frame write it causes, with N windows
/// on the active desktop: the layout request waits the 16 ms coalescing delay, so the time is
/// that delay and Kelvo's own work. The keys move the focused window's edge right and back.
void resizeKeyToFirstFrameWrite(benchmark::State& state) {
    guarded(state, [&] {
        RestingKelvo running(static_cast<int>(state.range(0)));
        if (!running.start(state)) return;
        KelvoProcess& kelvo = *running.kelvo;
        FrameWatch& watch = *running.watch;
        bool right = true;
        for (auto _ : state) {
            if (!keyToFirstWrite(state, watch, right ? "ctrl+alt+l" : "ctrl+alt+h")) break;
            if (!watch.quiet(std::chrono::milliseconds(20)) || !kelvo.ping().ok) {
                state.SkipWithError("the resize never finished");
                break;
            }
            right = !right;
        }
        kelvo.quit();
    });
}
BENCHMARK(resizeKeyToFirstFrameWrite)
    ->Apply(windowCounts)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// ---- (c) Memory ------------------------------------------------------------------------------

/// A number of kB from /proc/<pid>/status ("VmRSS", "VmHWM"); none when it cannot be read.
std::optional<double> statusKilobytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1));
    }
    return std::nullopt;
}

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
