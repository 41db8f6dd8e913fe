#pragma once

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// Which window a resting pointer should focus, and whether a move arms the dwell, keeps it
/// waiting, focuses at once or is ignored. Pure: events, timers and the platform live elsewhere.
struct FocusFollowsCursor {
    FocusFollowsCursor() = delete;

    /// What to do about one pointer move.
    class Verdict {
      public:
        enum class Kind { focus, arm, keepWaiting, ignore };

        /// Focus this window now.
        static Verdict focus(WindowID id) { return Verdict(Kind::focus, id); }
        /// Start or restart the dwell for this window.
        static Verdict arm(WindowID id) { return Verdict(Kind::arm, id); }
        /// The dwell already runs for this window.
        static Verdict keepWaiting() { return Verdict(Kind::keepWaiting); }
        /// Do nothing and drop any dwell.
        static Verdict ignore() { return Verdict(Kind::ignore); }

        Kind kind() const { return kind_; }
        /// The window of `focus` and `arm`.
        std::optional<WindowID> window() const;

        bool operator==(const Verdict&) const = default;

      private:
        explicit Verdict(Kind kind) : kind_(kind) {}
        Verdict(Kind kind, WindowID id) : kind_(kind), window_(id) {}

        Kind kind_;
        WindowID window_;
    };

    /// The window under the point: windows shown above the tiles win, then the smaller number.
    /// None over no window or over the window that already has focus.
    static std::optional<WindowID> target(CGPoint point,
                                          const std::map<WindowID, CGRect>& windowFrames,
                                          const std::set<WindowID>& onTop,
                                          std::optional<WindowID> focused);

    /// `delay` in seconds; zero or less focuses without a dwell.
    static Verdict verdict(CGPoint point, const std::map<WindowID, CGRect>& windowFrames,
                           const std::set<WindowID>& onTop, std::optional<WindowID> focused,
                           std::optional<WindowID> armed, const std::vector<CGRect>& deadZones,
                           double delay);
};

}  // namespace kelvo
