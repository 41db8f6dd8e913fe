// A desktop switch with ten windows on each of two desktops, over the Accessibility bridge and
// the in-process desktop: the bridge operations the store makes and the Accessibility calls they
// cost, counted once; the time is the switch there and back, its layout passes run at once.
//
// What one switch needs (the switch and its pass, the reconciler, the coalesced pass, the
// visibility audit, the bridge's write sequence), in Accessibility calls:
// - each incoming window, 19: the unpark's minimized read (1); the pass's read (2), frame write
//   (process id, "AXEnhancedUserInterface" read, three writes, the bridge's read-back: 7), the
//   reconciler's read-back (2) and minimized query (1); the coalesced pass's read (2), which
//   finds it in place and writes nothing; the audit's role, minimized and frame reads (4);
// - each outgoing window, 7: the frame to remember (2), the park write (process id,
//   "AXEnhancedUserInterface" read, the position: 3), its read-back (2);
// - the focus of the new desktop, 6: "AXMain", "AXFocused", "AXRaise", process id,
//   "AXFrontmost" read and the first activation's "AXFrontmost" write.
// With the interface on, each frame or position write adds its two toggles.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "Base/Foundation/ManualClock.h"
#include "KelvoAX/Bridge/AXWindowBridge.h"
#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo {
namespace {

constexpr int windowsPerDesktop = 10;

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
    for (const sim::AccessCall& call : calls)
        state.counters["axCalls/" + std::string(kindName(call.kind))] += 1;
    state.counters["axCalls"] = static_cast<double>(calls.size());
    state.counters["axCalls/movedWindow"] = static_cast<double>(calls.size()) / moved;
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
