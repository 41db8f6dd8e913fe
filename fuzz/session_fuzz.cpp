// Any byte string as the session file must give a snapshot or a DecodingError, and a snapshot
// that was read must be written and read back equal. Restoring it at start-up, among live
// windows of which some are gone, float or now belong to another application, must leave
// every managed window in exactly one tree, its own pane's.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "KelvoCore/Store/SessionSnapshot.h"
#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/Base/Require.h"
#include "Support/KelvoCore/TreeInvariant.h"

namespace {

using namespace kelvo;

using kelvo::testing::require;

/// A desktop of well-behaved windows: every window is where it was last put.
class StillBridge : public WindowBridging {
  public:
    std::vector<ManagedWindow> windows() override { return {}; }
    std::optional<CGRect> frame(WindowID id) override {
        auto it = frames_.find(id);
        if (it == frames_.end()) return CGRect(100, 100, 400, 300);
        return it->second;
    }
    bool setFrame(const CGRect& frame, WindowID id) override {
        frames_[id] = frame;
        return true;
    }
    void setPosition(const CGPoint& position, WindowID id) override {
        CGRect moved = *frame(id);
        moved.origin = position;
        frames_[id] = moved;
    }
    void raise(WindowID) override {}
    void focus(WindowID) override {}
    void setMinimized(bool, WindowID) override {}
    bool isWindowMinimized(WindowID) override { return false; }
    bool isWindowFullScreen(WindowID) override { return false; }
    bool canReach(WindowID) override { return true; }
    std::set<WindowID> retainedWindows() const override { return {}; }
    void setHidden(bool, const std::string&) override {}
    bool isApplicationHidden(const std::string&) override { return false; }

  private:
    std::map<WindowID, CGRect> frames_;
};

/// The live windows: every saved one, except that the window number decides whether it is
/// gone, floats or now belongs to another application.
std::vector<AdoptionRecord> liveWindows(const SessionSnapshot& snapshot) {
    std::vector<AdoptionRecord> records;
    for (const auto& [w, bundle] : snapshot.bundleIDs) {
        if (w.raw % 7 == 0) continue;
        records.push_back(AdoptionRecord{w, w.raw % 5 == 0 ? "org.example.other" : bundle,
                                         w.raw % 3 == 0, false});
    }
    return records;
}

void restore(const SessionSnapshot& snapshot) {
    Config config = Config::defaults();
    config.desktopCount = 1 + static_cast<std::int64_t>(std::fmod(std::fabs(snapshot.bootTime), 9));
    const CGRect screen(0, 0, 1440, 900);
    WorkspaceStore store(config, std::make_shared<StillBridge>(), screen);
    // Odd active desktops restore with two displays known, even ones with none.
    if (snapshot.activeDesktop % 2 != 0) {
        store.displaysChanged({Display(1, screen), Display(2, CGRect(1440, 0, 1920, 1080))});
    }
    store.adopt(liveWindows(snapshot), snapshot);
    require(treeInvariantViolations(store).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SessionSnapshot snapshot;
    try {
        snapshot = SessionSnapshot::fromFileText(bytes);
    } catch (const DecodingError&) {
        return 0;
    }
    require(SessionSnapshot::fromFileText(snapshot.fileText()) == snapshot);
    restore(snapshot);
    return 0;
}
