// An application that stops answering Accessibility calls (`kelvo-sim hang`) beside KelvoApp
// and the desktop's server, as processes: how long one call on it stalls its caller and what
// the desktop's other clients wait meanwhile, and how long a desktop switch takes when the hung
// application's window is on neither desktop, or on the desktop being left. Every process a
// benchmark starts is ended by its pid when the benchmark ends, pass or fail.

#include <algorithm>
#include <future>

#include "KelvoCore/Keys/Command.h"
#include "KelvoScene.h"
#include "KeyChord.h"

namespace kelvo {
namespace {

/// Where the hung application's one window is while desktops 1 and 2 are switched.
enum class HungWindow { none = 0, elsewhere = 1, outgoing = 2 };

/// Kelvo resting on N windows, plus one application of its own with one window: absent, on
/// desktop 3, or on desktop 1 beside the others; hung once Kelvo has adopted it.
class HungScene {
  public:
    HungScene(int windows, HungWindow where) : running(windows), where_(where) {}

    bool start(benchmark::State& state) {
        if (where_ != HungWindow::none) openHungWindow();
        if (!running.start(state)) return false;
        KelvoProcess& kelvo = *running.kelvo;
        if (where_ == HungWindow::elsewhere) {
            // Its window goes to desktop 3 while that desktop is shown, then desktop 1 again.
            kelvo.command(Command::switchTo(3));
            hung_->openWindow(FixtureQuirk::plain, CGRect(300, 300, 400, 300));
            if (!running.watch->quiet(std::chrono::milliseconds(200)) || !kelvo.ping().ok) {
                state.SkipWithError("the hung application's window was never adopted");
                return false;
            }
            kelvo.command(Command::switchTo(1));
            if (!running.watch->quiet(std::chrono::milliseconds(200)) || !kelvo.ping().ok) {
                state.SkipWithError("desktop 1 never came back");
                return false;
            }
        }
        if (hung_) running.scene.desktop.run({"hang", std::to_string(hungPid_)});
        return true;
    }

    RestingKelvo running;

  private:
    void openHungWindow() {
        hung_ = std::make_unique<sim::testing::FixtureProcess>(
            running.scene.desktop,
            std::vector<std::string>{"--bundle-id", "com.example.hung", "--name", "Hung"});
        const auto reply = hung_->request(FixtureRequest::ping());
        if (!reply.ok || !reply.pid) throw std::runtime_error("the hung application did not start");
        hungPid_ = static_cast<sim::Pid>(*reply.pid);
        if (where_ == HungWindow::outgoing)
            hung_->openWindow(FixtureQuirk::plain, CGRect(300, 300, 400, 300));
    }

    HungWindow where_;
    std::unique_ptr<sim::testing::FixtureProcess> hung_;
    sim::Pid hungPid_ = 0;
};

/// A desktop switch key (⌥2, then ⌥1, in turns) from entering the desktop until Kelvo is idle
/// again: it reports the new desktop, the windows have been still for 20 ms and a ping sent
/// then is answered (the 20 ms are not counted). `hung` says where the hung application's
/// window is: 0 no such application, 1 on desktop 3 (neither desktop of the switch), 2 on
/// desktop 1 (parked by ⌥2, its every call failing at the 0.25 s timeout).
void hungApplicationSwitch(benchmark::State& state) {
    guarded(state, [&] {
        HungScene hung(static_cast<int>(state.range(0)), static_cast<HungWindow>(state.range(1)));
        if (!hung.start(state)) return;
        KelvoProcess& kelvo = *hung.running.kelvo;
        FrameWatch& watch = *hung.running.watch;
        double worst = 0;
        double sums[2] = {0, 0};
        int presses[2] = {0, 0};
        int target = 2;
        const auto quietGap = std::chrono::milliseconds(20);
        for (auto _ : state) {
            const auto chord = kelvo_sim::KeyChord::parse("alt+" + std::to_string(target));
            const auto pressed = Clock::now();
            watch.desktop().key(chord->keyCode, chord->flags);
            const bool switched = pollUntil([&] {
                const auto reply = kelvo.state();
                return reply.ok && reply.activeDesktop == target;
            });
            if (!switched || !watch.quiet(quietGap) || !kelvo.ping().ok) {
                state.SkipWithError("the switch never finished");
                break;
            }
            const double took = Milliseconds(Clock::now() - pressed - quietGap).count();
            state.SetIterationTime(took / 1000);
            worst = std::max(worst, took);
            sums[target - 1] += took;
            presses[target - 1] += 1;
            target = 3 - target;
        }
        const auto mean = [&](int direction) {
            return presses[direction] > 0 ? sums[direction] / presses[direction] : 0;
        };
        state.counters["leave1_ms"] = mean(1);
        state.counters["back1_ms"] = mean(0);
        state.counters["worst_ms"] = worst;
        kelvo.quit();
    });
}
BENCHMARK(hungApplicationSwitch)
    ->ArgNames({"windows", "hung"})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({10, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

/// One Accessibility call on a hung application's element, with the messaging timeout in
/// milliseconds (250: what Kelvo sets; 6000: the platform's default, which the application
/// elements of focusing and activating keep): the call's stall is the iteration's time.
/// `others_ms` is the slowest of the requests another client made of the desktop meanwhile.
void hungApplicationCall(benchmark::State& state) {
    guarded(state, [&] {
        Scene scene(1);
        const sim::Pid pid = scene.pids.front();
        scene.desktop.run({"hang", std::to_string(pid)});
        auto caller = std::make_shared<sim::SocketConnection>(scene.desktop.socketPath());
        auto other = std::make_shared<sim::SocketConnection>(scene.desktop.socketPath());
        const sim::ElementID app = caller->applicationElement(pid);
        const double timeout = static_cast<double>(state.range(0)) / 1000;
        double others = 0;
        for (auto _ : state) {
            const auto start = Clock::now();
            auto call = std::async(std::launch::async, [&] {
                return caller->copyAttribute(app, "AXWindows", timeout).error;
            });
            while (call.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
                const auto asked = Clock::now();
                benchmark::DoNotOptimize(other->displays());
                others = std::max(others, Milliseconds(Clock::now() - asked).count());
            }
            if (call.get() != sim::AccessError::cannotComplete) {
                state.SkipWithError("the hung application answered");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        }
        state.counters["others_ms"] = others;
    });
}
BENCHMARK(hungApplicationCall)
    ->ArgName("timeout_ms")
    ->Arg(250)
    ->Arg(6000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo
