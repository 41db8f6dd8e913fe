#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Platform/AppKit/NSRunningApplication.h"

namespace kelvo {

/// Opens a new terminal window: chooses the terminal, tells the store that its coming
/// activation is the system's own, then sends a running terminal ⌘N once it is in front, or
/// launches one that is not running. Main thread.
class TerminalLauncher {
  public:
    TerminalLauncher() = delete;

    /// The terminals tried, in this order, when none is configured: kitty, iTerm2, Warp,
    /// WezTerm and the system's Terminal.
    static const std::vector<std::string>& probeOrder();
    /// The N key, which with Command alone asks for a new window.
    static constexpr std::uint16_t newWindowKeyCode = 45;
    /// How long a terminal asked to come forward has before ⌘N is given up.
    static constexpr double activationDeadline = 0.5;

    static void open(const std::optional<std::string>& configured,
                     const std::function<void(const std::string&)>& expectActivation,
                     const std::function<void(const std::string&)>& log);

  private:
    static void sendNewWindow(const NSRunningApplicationRef& app,
                              const std::function<void(const std::string&)>& log);
    static void postCommandN();
};

}  // namespace kelvo
