// A desktop switch with ten windows on each of two desktops, over the Accessibility bridge and
// the in-process desktop: the bridge operations the store makes and the Accessibility calls they
// cost, counted once (the switch and its pass, the reconciler, the coalesced pass, the visibility
// audit, the bridge's write sequence); the time is the switch there and back, its layout passes
// run at once. The in-process desktop answers at once: what the calls cost as round trips to
// other processes is in kelvo_requests_bench.
//
// The switch from desktop 1 to desktop 2 takes 95 Accessibility calls, and the benchmark fails
// when they are others (a change that adds round trips changes these counts with it):
// - on the ten windows coming in, 53: each one's frame write (three writes of position and size),
//   its read-back (position and size in one message) and its role for the audit (5 a window);
//   and "AXMain", "AXFocused" and "AXRaise" on the one that gets the focus;
// - on the ten windows going out, 20: each one's frame to remember and the park's position write;
// - on the applications' elements, 22: the "AXEnhancedUserInterface" read before each of the
//   twenty frame and position writes, and the activation's "AXFrontmost" read and write.
#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>

#include "Base/Foundation/ManualClock.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

constexpr int windowsPerDesktop = 10;

/// The Accessibility calls of the switch from desktop 1 to desktop 2, as stated above.
struct SwitchCalls {
    int total = 95;
    int incoming = 53;
    int outgoing = 20;
    int applications = 22;
    bool operator==(const SwitchCalls&) const = default;
};

/// How a call is counted: reads, writes, actions, process-id lookups and the rest.
const char* kindName(sim::AccessCall::Kind kind) {
    switch (kind) {
        case sim::AccessCall::Kind::copyAttribute:
            return "read";
        case sim::AccessCall::Kind::setAttribute:
            return "write";
        case sim::AccessCall::Kind::performAction:
            return "action";
        case sim::AccessCall::Kind::elementPid:
            return "pid";
        default:
            return "other";
    }
}

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
        const sim::Pid owner = installed.launch("com.example.editor");
        for (int i = 0; i < 2 * windowsPerDesktop; ++i) {
            // Small enough for every slot of twenty, so that the launch fit floats none of them
            // onto the stash desktop and each desktop really holds ten.
            installed.open(owner, CGRect(10 * i, 30 + 10 * i, 400, 300));
        }
        bridge = std::make_shared<CountingBridge>(config);
        store = std::make_unique<WorkspaceStore>(config, bridge, CGRect(0, 25, 1920, 1055));
        store->displaysChanged({Display(1, CGRect(0, 25, 1920, 1055))});
        std::vector<AdoptionRecord> records;
        for (const ManagedWindow& w : bridge->bridge.windows()) {
            records.push_back(AdoptionRecord{w.id, w.bundleID, false, false, w.frame});
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
    }

    ManualClock clock;
    Config config;
    InstalledDesktop installed{CGRect(0, 0, 1920, 1080), std::nullopt};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
    std::shared_ptr<CountingBridge> bridge;
    std::unique_ptr<WorkspaceStore> store;
};

void switchBetweenDesktops(benchmark::State& state) {
    SwitchBench bench;
    if (bench.store->windows(1).size() != windowsPerDesktop ||
        bench.store->windows(2).size() != windowsPerDesktop) {
        state.SkipWithError("the desktops do not hold ten windows each");
        return;
    }
    const std::vector<WindowID> incomingList = bench.store->windows(2);
    const std::set<WindowID> comingIn(incomingList.begin(), incomingList.end());
    bench.bridge->counts.clear();
    bench.desktop->setRecordsAccessCalls(true);
    bench.desktop->clearAccessCalls();
    bench.store->switchTo(2, std::nullopt);
    bench.clock.runUntilIdle();
    const double moved = 2 * windowsPerDesktop;
    double operations = 0;
    for (const auto& [operation, count] : bench.bridge->counts) {
        state.counters["bridge/" + operation] = count;
        operations += count;
    }
    state.counters["bridgeCalls"] = operations;
    const std::vector<sim::AccessCall> calls = bench.desktop->accessCalls();
    SwitchCalls measured{static_cast<int>(calls.size()), 0, 0, 0};
    for (const sim::AccessCall& call : calls) {
        state.counters["axCalls/" + std::string(kindName(call.kind))] += 1;
        if (!call.window) {
            ++measured.applications;
        } else if (comingIn.contains(WindowID(*call.window))) {
            ++measured.incoming;
        } else {
            ++measured.outgoing;
        }
    }
    state.counters["axCalls"] = measured.total;
    state.counters["axCalls/movedWindow"] = measured.total / moved;
    state.counters["axCalls/incoming"] = measured.incoming;
    state.counters["axCalls/outgoing"] = measured.outgoing;
    state.counters["axCalls/applications"] = measured.applications;
    if (measured != SwitchCalls{}) {
        state.SkipWithError("the switch's Accessibility calls are not those the comment states");
        return;
    }
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
