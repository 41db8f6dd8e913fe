#pragma once

#include <cstdint>
#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The General tab: how many desktops and how switching between them shows, the focused
/// application's name in the menu bar, and opening at login. Rebuilt from the model whenever
/// it publishes; every control writes through it.
class GeneralPage {
  public:
    static constexpr std::int64_t fewestDesktops = 1;
    static constexpr std::int64_t mostDesktops = 9;
    /// The login-item row when the program cannot be a login item.
    static constexpr double unbundledLoginRowOpacity = 0.6;

    explicit GeneralPage(SettingsModel& model) : model_(model) {}

    /// The three cards, for the page's column.
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    SwiftUI::View desktopsCard() const;
    SwiftUI::View menuBarCard() const;
    SwiftUI::View startupCard() const;

    /// The number of desktops and its counter; the guide shows it too.
    static SwiftUI::View desktopCountRow(SettingsModel& model);
    /// "⌥1 through ⌥9 switch between them." for nine desktops, whatever the primary modifier.
    static std::string desktopRangeText(std::int64_t desktopCount);

  private:
    SwiftUI::View openAtLoginRow() const;
    SwiftUI::View loginControl() const;

    SettingsModel& model_;
};

}  // namespace kelvo
