// The desktop's socket as a window manager meets it: what one Accessibility read and one frame
// write (position, then size) cost as round trips, and how many requests the server answers
// each second while four clients ask at once. Also what watching a quiet desktop costs: the
// question whether it is there as a round trip (asked once per quiet spell, and never while the
// desktop talks), and the Accessibility read on a watched connection, which should cost what
// it costs on any other.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/DesktopServer.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

/// One server for the whole run, on a socket in a temporary folder, with one window to read
/// and write.
struct Served {
    kelvo::testing::TemporaryFolder folder;
    kelvo::InstalledDesktop installed{CGRect(0, 0, 1440, 900)};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
    std::unique_ptr<sim::DesktopServer> server;
    sim::WindowNumber window = 0;
    sim::Pid app = 0;

    Served() {
        app = installed.launch("com.example.app");
        window = installed.open(app, CGRect(100, 100, 800, 600));
        server = std::make_unique<sim::DesktopServer>(desktop, (folder / "bench.sock").string());
        server->start();
    }

    static Served& shared() {
        static Served served;
        return served;
    }
};

/// A client of the shared server, and the element of its window; a watched one asks a desktop
/// that has said nothing for five seconds whether it is there, as the system's own does.
struct Client {
    explicit Client(std::optional<std::chrono::seconds> quietSpell = std::nullopt)
        : connection(Served::shared().server->path(), std::nullopt, quietSpell) {}
    sim::SocketConnection connection;
    sim::ElementID element = Served::shared().desktop->window(Served::shared().window)->element;
};

void BM_SocketAccessibilityRead(benchmark::State& state) {
    Client client;
    for (auto _ : state) {
        auto reply = client.connection.copyAttribute(client.element, "AXPosition", 0.25);
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_SocketAccessibilityRead)->UseRealTime();

void BM_SocketAccessibilityReadWatched(benchmark::State& state) {
    Client client(std::chrono::seconds(5));
    for (auto _ : state) {
        auto reply = client.connection.copyAttribute(client.element, "AXPosition", 0.25);
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_SocketAccessibilityReadWatched)->UseRealTime();

void BM_SocketQuestionWhetherThere(benchmark::State& state) {
    Client client;
    for (auto _ : state) {
        auto reply = client.connection.lines().call(sim::DesktopMessages::probe);
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_SocketQuestionWhetherThere)->UseRealTime();

void BM_SocketFrameWrite(benchmark::State& state) {
    Client client;
    double x = 0;
    for (auto _ : state) {
        x = x > 500 ? 0 : x + 1;
        client.connection.setAttribute(client.element, "AXPosition", CGPoint{x, 25}, 0.25);
        client.connection.setAttribute(client.element, "AXSize", CGSize{800 - x, 600}, 0.25);
    }
}
BENCHMARK(BM_SocketFrameWrite)->UseRealTime();

void BM_ServerThroughputFourClients(benchmark::State& state) {
    Client client;
    for (auto _ : state) {
        auto reply = client.connection.copyAttribute(client.element, "AXSize", 0.25);
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ServerThroughputFourClients)->Threads(4)->UseRealTime();

}  // namespace
