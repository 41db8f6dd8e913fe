#pragma once

#include <optional>
#include <vector>

#include "KelvoApp/Applications/AppEntry.h"

namespace kelvo {

/// Which of the known terminals (the terminal launcher's list) are installed, for choosing one
/// in the settings. Main thread; every call asks the workspace afresh.
class TerminalCatalog {
  public:
    TerminalCatalog() = delete;

    /// The terminal used when none is configured: the first known one that is installed.
    static std::optional<AppEntry> automatic();
    /// Every known terminal that is installed, in the launcher's order.
    static std::vector<AppEntry> installed();
};

}  // namespace kelvo
