#pragma once

#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The System page: the five macOS tweaks, the Reduce Motion row, and reverting every tweak
/// after a confirmation.
struct SystemPage {
    static constexpr const char* confirmTitle =
        "Put every system tweak back the way Kelvo found it?";
    static constexpr const char* confirmMessage =
        "The toggles above all turn off, and any Dock keys take effect when the Dock restarts. "
        "Everything else applies as each application restarts.";

    SettingsModel& model;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View revertRow() const;
};

}  // namespace kelvo
