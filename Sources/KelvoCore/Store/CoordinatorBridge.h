#pragma once

#include <any>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/WindowBridging.h"

namespace kelvo {

/// A window element as the event stream hands it over; only the bridge looks inside.
using WindowElementRef = std::any;

/// What one application's windows read as: the adoptable windows and every window number seen.
struct ApplicationWindows {
    std::vector<ManagedWindow> windows;
    std::set<WindowID> seen;
};

/// The Accessibility bridge as the coordinator uses it: the store's interface and the bridge's
/// own operations (one application's windows, a handed-over element, the windows found gone,
/// the sets it keeps while classifying, its configuration and its trace).
class CoordinatorBridge : public WindowBridging {
  public:
    using WindowBridging::windows;

    /// The adoptable windows of every running copy of the application, and every window
    /// number seen there.
    virtual ApplicationWindows windows(const std::string& bundleID) = 0;
    /// The window of an element the event stream reported; none when unreadable or ignored.
    virtual std::optional<ManagedWindow> adopt(const WindowElementRef& element,
                                               const std::string& bundleID) = 0;
    /// The windows confirmed gone since the last call; empties the set.
    virtual std::set<WindowID> takeGone() = 0;
    /// The element remembered for the window; none when there is none.
    virtual std::optional<WindowElementRef> element(WindowID id) const = 0;
    virtual const std::set<WindowID>& provisionallyIgnored() const = 0;
    virtual const std::set<WindowID>& seenFullScreen() const = 0;
    virtual const Config& config() const = 0;
    virtual void setConfig(const Config& config) = 0;
    /// Receives one line per activation attempt.
    virtual void setTrace(std::function<void(const std::string&)> trace) = 0;
};

}  // namespace kelvo
