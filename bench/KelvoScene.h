#pragma once

// What the benchmarks of KelvoApp as a process share: a desktop server with fixture
// applications' windows, Kelvo started on it, a watch on the windows' frames, and Kelvo come to
// rest. Every process is ended by its pid when its object goes, pass or fail.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/EndToEnd/KelvoProcess.h"
#include "Support/Simulator/DesktopProcess.h"
#include "Support/Tools/FixtureProcess.h"

namespace kelvo {
namespace {  // each benchmark program includes this once

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
using testing::DesktopProcess;
using testing::KelvoProcess;
using testing::TemporaryFolder;

/// The program of that name this build made, or the one in `KELVO_BENCH_PROGRAMS` when that
/// names a folder of programs (build/run/bin of `make programs`, whose memory a person's machine
/// holds, or another tree's, for figures before and after a change in one run).
[[maybe_unused]] std::string program(const std::string& name, const std::string& built) {
    const char* folder = std::getenv("KELVO_BENCH_PROGRAMS");
    return folder ? (std::filesystem::path(folder) / name).string() : built;
}

/// Fixture windows per application; 100 windows are four applications.
constexpr int windowsPerApplication = 25;
/// The beginning of the log line with which start-up reports the windows it has adopted.
const std::string adoptedLine = "adopted ";
/// How often a wait looks again; the resolution of the start-up figure.
constexpr auto pollGap = std::chrono::milliseconds(1);
constexpr auto bound = std::chrono::seconds(60);

/// Polls `condition` every millisecond until it holds or the bound has passed.
template <class Condition>
bool pollUntil(Condition condition, std::chrono::milliseconds wait = bound) {
    return testing::eventually(condition, wait, pollGap);
}

/// A desktop with `count` small windows of fixture applications, opened before Kelvo starts and
/// spread over the screen, so that none is large enough for the launch fit to float it.
class Scene {
  public:
    explicit Scene(int count) { open(count); }

    /// `count` more windows, in applications of their own once the last one has its share;
    /// every hundred windows cover the screen again.
    void open(int count) {
        for (int i = opened_; i < opened_ + count; ++i) {
            if (i % windowsPerApplication == 0) addApplication(i / windowsPerApplication);
            auto& app = *apps.back();
            const int place = i % 100;
            const CGRect frame(40 + (place % 10) * 180, 60 + (place / 10) * 100, 160, 90);
            const sim::WindowNumber number = app.openWindow(FixtureQuirk::plain, frame);
            if (number == 0) {
                throw std::runtime_error("a fixture application would not open a window");
            }
            windows_.push_back({&app, number, frame});
        }
        opened_ += count;
    }

    /// Every window back where it opened, moved by its application, as before Kelvo placed it.
    void scatter() {
        for (const OpenWindow& window : windows_) {
            FixtureRequest move;
            move.op = "move";
            move.window = window.number;
            move.x = window.frame.origin.x;
            move.y = window.frame.origin.y;
            move.width = window.frame.size.width;
            move.height = window.frame.size.height;
            if (!window.app->request(move).ok)
                throw std::runtime_error("a fixture application would not move its window");
        }
    }

    /// Kelvo in test mode, with its files in a folder of its own and `KELVO_LOG` set, so that
    /// each log line reaches its standard error (a file) at once rather than with the log
    /// file's next chunk.
    std::unique_ptr<KelvoProcess> launch() {
        KelvoProcess::Options options;
        options.desktop = desktop.environment();
        const auto run = folder / ("run-" + std::to_string(++launches));
        options.testFolder = run / "kelvo";
        options.environment = {{"KELVO_LOG", "1"}};
        return std::make_unique<KelvoProcess>(program("KelvoApp", KELVO_APP_PROGRAM), options,
                                              run / "home");
    }

    TemporaryFolder folder;
    DesktopProcess desktop{program("kelvo-sim", KELVO_SIM_PROGRAM), {"--display", "1920x1080"}};
    std::vector<std::unique_ptr<sim::testing::FixtureProcess>> apps;
    std::vector<sim::Pid> pids;

  private:
    struct OpenWindow {
        sim::testing::FixtureProcess* app;
        sim::WindowNumber number;
        CGRect frame;
    };

    void addApplication(int index) {
        const std::string name = "App" + std::to_string(index + 1);
        apps.push_back(std::make_unique<sim::testing::FixtureProcess>(
            desktop,
            std::vector<std::string>{"--bundle-id", "com.example.app" + std::to_string(index + 1),
                                     "--name", name}));
        const auto reply = apps.back()->request(FixtureRequest::ping());
        if (!reply.ok || !reply.pid) throw std::runtime_error(name + " did not start");
        pids.push_back(static_cast<sim::Pid>(*reply.pid));
    }

    int launches = 0;
    int opened_ = 0;
    std::vector<OpenWindow> windows_;
};

/// Reads what a process has written to a file so far, a little at a time, and finds lines in it.
class FileTail {
  public:
    explicit FileTail(std::filesystem::path file) : file_(std::move(file)) {}
    /// True once some line written so far holds `text`.
    bool holds(const std::string& text) {
        std::ifstream stream(file_, std::ios::binary);
        stream.seekg(static_cast<std::streamoff>(read_));
        std::string more((std::istreambuf_iterator<char>(stream)), {});
        read_ += more.size();
        seen_ += more;
        return seen_.find(text) != std::string::npos;
    }

  private:
    std::filesystem::path file_;
    std::size_t read_ = 0;
    std::string seen_;
};

/// Starts Kelvo on the scene and waits until its start-up has adopted the windows; the time
/// from launch to that log line, or none (with the benchmark skipped) when it never came.
std::optional<Milliseconds> startUntilAdopted(benchmark::State& state, Scene& scene,
                                              std::unique_ptr<KelvoProcess>& kelvo) {
    const auto launched = Clock::now();
    kelvo = scene.launch();
    FileTail standardError(kelvo->standardErrorFile());
    bool adopted = false;
    pollUntil([&] {
        adopted = standardError.holds(adoptedLine);
        return adopted || !kelvo->process().isRunning();
    });
    if (!adopted) {
        state.SkipWithError(
            ("Kelvo never logged its start-up adoption: " + kelvo->standardError().substr(0, 200))
                .c_str());
        return std::nullopt;
    }
    return Milliseconds(Clock::now() - launched);
}

/// A number of kB from /proc/<pid>/status ("VmRSS", "VmHWM"); none when it cannot be read.
[[maybe_unused]] std::optional<double> statusKilobytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1));
    }
    return std::nullopt;
}

/// Runs a benchmark's body; an exception skips the benchmark with its text rather than ending the
/// program, so that the body's processes are still ended by their pids as its objects go.
template <class Body>
void guarded(benchmark::State& state, Body body) {
    try {
        body();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

/// Each benchmark runs with ten windows (the smoke test's) and with a hundred.
[[maybe_unused]] void windowCounts(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10)->Arg(100)->ArgName("windows");
}

// ---- Watching the windows and waiting for rest ---------------------------------------------

/// A client of the desktop that watches every window of the fixture applications move or
/// change size, and notes when the first such change after `arm()` arrived.
class FrameWatch {
  public:
    FrameWatch(const DesktopProcess& desktop, const std::vector<sim::Pid>& apps)
        : connection_(std::make_shared<sim::SocketConnection>(desktop.socketPath())) {
        connection_->setEventSink([this](const sim::DesktopEvent& event) {
            if (!std::holds_alternative<sim::ObserverNotification>(event)) return;
            MutexLock lock(mutex_);
            const auto now = Clock::now();
            if (!first_) first_ = now;
            last_ = now;
            changed_.notifyAll();
        });
        sim::ApplicationSpec self;
        self.bundleID = "com.example.watch";
        self.name = "Watch";
        self.activationPolicy = sim::ActivationPolicy::accessory;
        connection_->registerClient(self);
        for (const sim::Pid pid : apps) {
            const auto observer = connection_->createObserver(pid).observer;
            const auto application = connection_->applicationElement(pid);
            for (const char* name : {"AXWindowMoved", "AXWindowResized"})
                connection_->addNotification(observer, application, name);
        }
    }

    void arm() {
        MutexLock lock(mutex_);
        first_.reset();
    }
    /// When the first change after `arm()` arrived; none when none came within `wait`.
    std::optional<Clock::time_point> first(std::chrono::milliseconds wait = bound) {
        MutexLock lock(mutex_);
        changed_.waitFor(mutex_, wait, [this]() REQUIRES(mutex_) { return first_.has_value(); });
        return first_;
    }
    /// Waits until no change has come for `quiet`; false when that never happens.
    bool quiet(std::chrono::milliseconds quiet) {
        return pollUntil([&] {
            MutexLock lock(mutex_);
            return Clock::now() - last_ >= quiet;
        });
    }
    /// When the latest change arrived (the watch's start when none has).
    Clock::time_point lastChange() {
        MutexLock lock(mutex_);
        return last_;
    }
    sim::DesktopClient& desktop() { return connection_->client(); }

  private:
    Mutex mutex_;
    ConditionVariable changed_;
    std::optional<Clock::time_point> first_ GUARDED_BY(mutex_);
    Clock::time_point last_ GUARDED_BY(mutex_) = Clock::now();
    /// Last, so that it goes first: its threads stop before what the sink touches goes.
    std::shared_ptr<sim::SocketConnection> connection_;
};

/// Kelvo started on a scene of N windows and come to rest: start-up has adopted them, the first
/// layout pass has placed them, the windows have been still for 200 ms and Kelvo has answered
/// a ping behind the echoes of its own writes.
class RestingKelvo {
  public:
    explicit RestingKelvo(int windows) : scene(windows) {}
    /// False, with the benchmark skipped, when Kelvo never came to rest.
    bool start(benchmark::State& state) {
        if (!startUntilAdopted(state, scene, kelvo)) return false;
        watch = std::make_unique<FrameWatch>(scene.desktop, scene.pids);
        if (!watch->quiet(std::chrono::milliseconds(200)) || !kelvo->ping().ok) {
            state.SkipWithError("Kelvo never came to rest after start-up");
            return false;
        }
        return true;
    }

    Scene scene;
    std::unique_ptr<KelvoProcess> kelvo;
    std::unique_ptr<FrameWatch> watch;
};

}  // namespace
}  // namespace kelvo
