#pragma once

#include <string>

#include "KelvoCore/Tweaks/SystemTweak.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// One macOS system tweak: its row with the badge of when it takes effect, and a switch that
/// always shows what the model reports, not what was last clicked.
struct SystemTweakRow {
    SystemTweak tweak;
    SettingsModel& model;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

/// The macOS Reduce Motion setting, which Kelvo never writes: its state now, and a button that
/// opens the pane where a person can change it.
struct ReduceMotionRow {
    static constexpr const char* badge = "in System Settings";

    /// "Removes the Space-change animation. Currently on." (or "off.").
    static std::string detail(bool reducesMotion);
    /// Hands the pane's URL to the workspace; nothing when the text is no URL.
    static void openPane(const std::string& url);

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }
};

}  // namespace kelvo
