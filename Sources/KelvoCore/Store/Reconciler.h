#pragma once

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "KelvoCore/Store/WindowBridging.h"

namespace kelvo {

/// The one writer of tiled frames. Applications do not always obey a frame write (minimum sizes,
/// late moves, writes ignored altogether), so every write is read back and judged: three
/// consecutive failures give a window up, sizes a window insists on become floors that later
/// passes accept, and a short ledger of the frames written or accepted lets the store tell its
/// own moves from the user's.
class Reconciler {
  public:
    /// A window left alone in the last pass because it already sat where it was wanted.
    struct Skip {
        WindowID id;
        CGRect want;
        CGRect have;
        bool operator==(const Skip&) const = default;
    };

    static constexpr CGFloat defaultTolerance = 1.0;
    static constexpr int defaultMaxAttempts = 3;
    static constexpr std::size_t ledgerCapacity = 8;

    explicit Reconciler(WindowBridging& bridge);
    Reconciler(const Reconciler&) = delete;
    Reconciler& operator=(const Reconciler&) = delete;

    /// One pass of writes and checks over the planned frames, in ascending window order.
    /// Failures of `exempt` windows never strike. Returns the windows to try again later.
    std::set<WindowID> apply(const std::map<WindowID, CGRect>& planned,
                             const std::set<WindowID>& exempt);

    /// minX, minY, width and height each within `tolerance`.
    bool approximatelyEqual(const CGRect& a, const CGRect& b) const;
    /// Both dimensions sit at their floor without having been asked for more, or, where there
    /// is no floor, match what was asked.
    bool sits(const CGSize& size, const CGSize& floor, const CGSize& asked) const;
    /// The newest frame written or accepted for the window.
    std::optional<CGRect> settledFrame(WindowID id) const;
    /// Whether the rectangle is one the reconciler recently wrote or accepted for the window.
    bool placed(const CGRect& frame, WindowID id) const;
    /// Starts the window's history over: no strikes, floors, overshoot or ledger, and
    /// manageable again.
    void forget(WindowID id);
    /// Clears the strikes of a window that came back (from the Dock, or by a command).
    void resetAttempts(WindowID id);

    WindowBridging& bridge() const { return bridge_; }
    CGFloat tolerance() const { return tolerance_; }
    void setTolerance(CGFloat tolerance) { tolerance_ = tolerance; }
    int maxAttempts() const { return maxAttempts_; }
    void setMaxAttempts(int count) { maxAttempts_ = count; }

    const std::map<WindowID, int>& attempts() const { return attempts_; }
    const std::set<WindowID>& unmanageable() const { return unmanageable_; }
    const std::set<WindowID>& abandonedInLastPass() const { return abandonedInLastPass_; }
    const std::set<WindowID>& minimizedInLastPass() const { return minimizedInLastPass_; }
    const std::vector<Skip>& skippedInLastPass() const { return skippedInLastPass_; }
    const std::set<WindowID>& unreadableInLastPass() const { return unreadableInLastPass_; }
    const std::set<WindowID>& abandonedSkipInLastPass() const { return abandonedSkipInLastPass_; }
    /// Learned floors; 0 in a dimension means no floor there.
    const std::map<WindowID, CGSize>& clampedSizes() const { return clampedSizes_; }
    /// A size kept although less was asked while the frame moved; seen again, it is a floor.
    const std::map<WindowID, CGSize>& unmovedOvershoot() const { return unmovedOvershoot_; }
    const std::set<WindowID>& clampedInLastPass() const { return clampedInLastPass_; }
    int writesInLastPass() const { return writesInLastPass_; }
    /// Oldest first, at most `ledgerCapacity` frames per window.
    const std::map<WindowID, std::vector<CGRect>>& ledger() const { return ledger_; }

  private:
    /// What one dimension of a read-back teaches about the window's floor.
    struct Lesson {
        CGFloat floor = 0;
        CGFloat overshoot = 0;
    };

    void clearLastPass();
    void reconcile(WindowID id, const CGRect& want, const std::set<WindowID>& exempt,
                   std::set<WindowID>& retry);
    bool inPlace(WindowID id, const CGRect& have, const CGRect& want) const;
    void skip(WindowID id, const CGRect& want, const CGRect& have);
    void learnFloor(WindowID id, const CGRect& want, const CGRect& before, const CGRect& after);
    Lesson lesson(CGFloat got, CGFloat asked, CGFloat before, CGFloat floor, CGFloat overshoot,
                  bool unmoved) const;
    /// Whether the write settled the window, needs another try, or counts as a failure.
    enum class Judgement { settled, retry, failure };
    Judgement judge(WindowID id, const CGRect& want, const CGRect& before,
                    const CGRect& after) const;
    void fail(WindowID id, const std::set<WindowID>& exempt, std::set<WindowID>& retry);
    void record(WindowID id, const CGRect& frame);
    bool inPosition(const CGRect& frame, const CGRect& want) const;
    bool near(CGFloat a, CGFloat b) const;
    std::optional<CGSize> floorOf(WindowID id) const;

    WindowBridging& bridge_;
    std::map<WindowID, int> attempts_;
    CGFloat tolerance_ = defaultTolerance;
    int maxAttempts_ = defaultMaxAttempts;
    std::set<WindowID> unmanageable_;
    std::set<WindowID> abandonedInLastPass_;
    std::set<WindowID> minimizedInLastPass_;
    std::vector<Skip> skippedInLastPass_;
    std::set<WindowID> unreadableInLastPass_;
    std::set<WindowID> abandonedSkipInLastPass_;
    std::map<WindowID, CGSize> clampedSizes_;
    std::map<WindowID, CGSize> unmovedOvershoot_;
    std::set<WindowID> clampedInLastPass_;
    int writesInLastPass_ = 0;
    std::map<WindowID, std::vector<CGRect>> ledger_;
};

}  // namespace kelvo
