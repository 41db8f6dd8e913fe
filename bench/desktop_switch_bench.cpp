// A desktop switch with ten windows on each of two desktops, over the Accessibility bridge and
// the in-process desktop: the bridge operations the store makes (per moved window the least is
// one read, one write, one read-back and at most one minimized query; nothing for windows
// already in place) and the Accessibility calls they cost. Counted once; the time is the
// switch there and back, its layout passes run at once.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <map>

#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoCore/Store/WorkspaceStore.h"
#include "Platform/Foundation/ManualClock.h"
#include "Simulator/Desktop.h"
#include "Simulator/InProcessConnection.h"
#include "Simulator/SharedConnection.h"

namespace kelvo {
namespace {

constexpr int windowsPerDesktop = 10;

/// The bridge with every operation counted by name.
class CountingBridge : public WindowBridging {
  public:
    explicit CountingBridge(const Config& config) : bridge(config) {}
    std::vector<ManagedWindow> windows() override { return note("windows", bridge.windows()); }
    std::optional<CGRect> frame(WindowID id) override { return note("frame", bridge.frame(id)); }
    bool setFrame(const CGRect& f, WindowID id) override {
        return note("setFrame", bridge.setFrame(f, id));
    }
    void setPosition(const CGPoint& p, WindowID id) override {
        note("setPosition", 0);
        bridge.setPosition(p, id);
    }
    void raise(WindowID id) override {
        note("raise", 0);
        bridge.raise(id);
    }
    void focus(WindowID id) override {
        note("focus", 0);
        bridge.focus(id);
    }
    void setMinimized(bool m, WindowID id) override {
        note("setMinimized", 0);
        bridge.setMinimized(m, id);
    }
    bool isWindowMinimized(WindowID id) override {
        return note("isWindowMinimized", bridge.isWindowMinimized(id));
    }
    bool isWindowFullScreen(WindowID id) override {
        return note("isWindowFullScreen", bridge.isWindowFullScreen(id));
    }
    bool canReach(WindowID id) override { return note("canReach", bridge.canReach(id)); }
    std::set<WindowID> retainedWindows() const override { return bridge.retainedWindows(); }
    void setHidden(bool h, const std::string& b) override {
        note("setHidden", 0);
        bridge.setHidden(h, b);
    }
    bool isApplicationHidden(const std::string& b) override {
        return note("isApplicationHidden", bridge.isApplicationHidden(b));
    }

    template <class T>
    T note(const char* operation, T value) {
        ++counts[operation];
        return value;
    }
    AXWindowBridge bridge;
    std::map<std::string, int> counts;
};

class SwitchBench {
  public:
    SwitchBench() {
        desktop->addDisplay(CGRect(0, 0, 1920, 1080));
        sim::SharedConnection::install(connection);
        sim::ApplicationSpec self;
        self.bundleID = "com.skarvelt.kelvo";
        self.activationPolicy = sim::ActivationPolicy::accessory;
        self.pid = static_cast<sim::Pid>(getpid());
        connection->registerClient(self);
        sim::ApplicationSpec app;
        app.bundleID = "com.example.editor";
        const sim::Pid owner = desktop->launch(app);
        for (int i = 0; i < 2 * windowsPerDesktop; ++i) {
            sim::WindowSpec spec;
            spec.frame = CGRect(10 * i, 30 + 10 * i, 700, 500);
            desktop->openWindow(owner, spec);
        }
        bridge = std::make_shared<CountingBridge>(config);
        store = std::make_unique<WorkspaceStore>(config, bridge, CGRect(0, 25, 1920, 1055));
        store->displaysChanged({Display(1, CGRect(0, 25, 1920, 1055))});
        std::vector<AdoptionRecord> records;
        for (const ManagedWindow& w : bridge->bridge.windows()) {
            records.push_back(AdoptionRecord{w.id, w.bundleID, false, false});
        }
        store->adopt(records, std::nullopt);
        // Half of them to desktop 2.
        for (std::size_t i = windowsPerDesktop; i < records.size(); ++i) {
            store->move(records[i].id, 2, true);
        }
        clock.runUntilIdle();
    }
    ~SwitchBench() {
        store.reset();
        clock.runUntilIdle();
        sim::SharedConnection::install(nullptr);
    }

    ManualClock clock;
    Config config;
    std::shared_ptr<sim::Desktop> desktop = std::make_shared<sim::Desktop>();
    std::shared_ptr<sim::InProcessConnection> connection =
        std::make_shared<sim::InProcessConnection>(desktop);
    std::shared_ptr<CountingBridge> bridge;
    std::unique_ptr<WorkspaceStore> store;
};

void switchBetweenDesktops(benchmark::State& state) {
    SwitchBench bench;
    bench.bridge->counts.clear();
    bench.desktop->setRecordsAccessCalls(true);
    bench.desktop->clearAccessCalls();
    bench.store->switchTo(2, std::nullopt);
    bench.clock.runUntilIdle();
    for (const auto& [operation, count] : bench.bridge->counts) {
        state.counters["bridge/" + operation] = count;
    }
    state.counters["axCalls"] = static_cast<double>(bench.desktop->accessCalls().size());
    state.counters["axCalls/movedWindow"] =
        state.counters["axCalls"] / static_cast<double>(2 * windowsPerDesktop);
    bench.desktop->setRecordsAccessCalls(false);
    int target = 1;
    for (auto _ : state) {
        bench.store->switchTo(target, std::nullopt);
        bench.clock.runUntilIdle();
        target = 3 - target;
    }
}
BENCHMARK(switchBetweenDesktops)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvo
