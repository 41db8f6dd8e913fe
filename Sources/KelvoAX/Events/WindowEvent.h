#pragma once

#include <optional>
#include <string>

#include "KelvoAX/Events/WindowElement.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// What another application or the workspace reported about a window or an application.
class WindowEvent {
  public:
    enum class Kind {
        created,
        destroyed,
        focused,
        moved,
        resized,
        activated,
        minimized,
        unminimized,
        terminated,
    };

    static WindowEvent created(WindowID window, std::optional<std::string> ownerBundleID,
                               std::optional<WindowElement> element);
    static WindowEvent destroyed(WindowID window);
    static WindowEvent focused(WindowID window);
    static WindowEvent moved(WindowID window);
    static WindowEvent resized(WindowID window);
    static WindowEvent activated(std::optional<WindowID> window,
                                 std::optional<std::string> bundleID);
    static WindowEvent minimized(WindowID window);
    static WindowEvent unminimized(WindowID window);
    static WindowEvent terminated(std::optional<std::string> bundleID);

    Kind kind() const { return kind_; }
    /// The window of every case but `terminated`; none also for an `activated` that named none.
    std::optional<WindowID> window() const { return window_; }
    /// The owner of `created`, the application of `activated` and `terminated`.
    std::optional<std::string> bundleID() const { return bundleID_; }
    /// The element of `created`, when it came with one.
    const std::optional<WindowElement>& element() const { return element_; }

    /// The case and its payload, as tests and logs compare events ("created win#7 com.x").
    std::string description() const;

    bool operator==(const WindowEvent&) const = default;

  private:
    WindowEvent(Kind kind, std::optional<WindowID> window, std::optional<std::string> bundleID,
                std::optional<WindowElement> element);

    Kind kind_;
    std::optional<WindowID> window_;
    std::optional<std::string> bundleID_;
    std::optional<WindowElement> element_;
};

}  // namespace kelvo
