#pragma once

#include <optional>

#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {

/// What the workspace store decides for a launcher pick; the coordinator carries it out.
class LauncherAction {
  public:
    enum class Kind { focus, goTo, bringHere, activate, launch };

    static LauncherAction focus(WindowID window) { return LauncherAction(Kind::focus, 0, window); }
    static LauncherAction goTo(int desktop, WindowID window) {
        return LauncherAction(Kind::goTo, desktop, window);
    }
    static LauncherAction bringHere(WindowID window) {
        return LauncherAction(Kind::bringHere, 0, window);
    }
    static LauncherAction activate() { return LauncherAction(Kind::activate, 0, {}); }
    static LauncherAction launch() { return LauncherAction(Kind::launch, 0, {}); }

    Kind kind() const { return kind_; }
    /// The desktop of `goTo`.
    std::optional<int> desktop() const;
    /// The window of `focus`, `goTo` and `bringHere`.
    std::optional<WindowID> window() const;

    bool operator==(const LauncherAction&) const = default;

  private:
    LauncherAction(Kind kind, int desktop, std::optional<WindowID> window)
        : kind_(kind), desktop_(desktop), window_(window) {}

    Kind kind_;
    int desktop_;
    std::optional<WindowID> window_;
};

}  // namespace kelvo
