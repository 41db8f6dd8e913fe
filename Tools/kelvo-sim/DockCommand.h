#pragma once

#include <iosfwd>

namespace kelvo_sim {

/// `kelvo-sim dock`: stands in for the Dock of the desktop at `KELVO_SIM_SOCKET`. It registers
/// as the Dock's application and stays up, showing nothing, until it is asked to quit, gets
/// SIGTERM or SIGINT, or the desktop goes away. `serve --dock` keeps one running.
class DockCommand {
  public:
    static constexpr const char* bundleID = "com.apple.dock";
    static constexpr const char* name = "Dock";

    explicit DockCommand(std::ostream& err) : err_(err) {}

    /// Runs until told to stop; the exit status (1 when the desktop could not be reached or
    /// went away).
    int run();

  private:
    std::ostream& err_;
};

}  // namespace kelvo_sim
