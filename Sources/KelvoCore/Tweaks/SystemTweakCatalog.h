#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Tweaks/SystemTweak.h"

namespace kelvo {

/// The five system tweaks, in the order every page lists them.
class SystemTweakCatalog {
  public:
    static constexpr const char* globalDomain = "NSGlobalDomain";
    static constexpr const char* dockDomain = "com.apple.dock";
    /// Where the user turns Reduce Motion on; the system never writes that preference itself.
    static constexpr const char* reduceMotionPaneURL =
        "x-apple.systempreferences:com.apple.preference.universalaccess?Seeing_Display";

    /// Built once, on first use.
    static const std::vector<SystemTweak>& all();
    /// The first tweak with that id; none for an id the catalogue does not know.
    static std::optional<SystemTweak> tweak(const std::string& id);
};

}  // namespace kelvo
