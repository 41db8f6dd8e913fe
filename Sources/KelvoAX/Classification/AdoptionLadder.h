#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// One running adoption per window, told apart by generations that are never reused, so a
/// re-read scheduled for an older ladder finds it gone and does nothing.
struct AdoptionLadder {
    std::map<WindowID, std::int64_t> running;
    /// The last generation handed out.
    std::int64_t issued = 0;

    std::size_t count() const { return running.size(); }

    /// A new generation for the window, or none while a ladder already runs for it.
    std::optional<std::int64_t> begin(WindowID window);
    bool isRunning(WindowID window, std::int64_t generation) const;
    /// Ends the ladder only when it is still the given one.
    void finish(WindowID window, std::int64_t generation);
    /// Ends whatever ladder runs for the window: it is gone.
    void cancel(WindowID window);

    bool operator==(const AdoptionLadder&) const = default;
};

}  // namespace kelvo
