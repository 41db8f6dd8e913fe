#pragma once

#include <cstdint>
#include <string>

#include "KelvoCore/Config/Config.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The last card of the Tiling tab: the applications that always float, those left alone,
/// and the stash desktop for windows that cannot be tiled.
class RulesCard {
  public:
    explicit RulesCard(SettingsModel& model) : model_(model) {}

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// The desktops the stash can be: 1 to the desktop count, at least one and at most
    /// the most the desktop counter offers, so that a huge count in the file cannot make a menu
    /// without end.
    static std::int64_t lastStashChoice(const Config& config);
    /// The stash desktop the choice shows: the stored one (the desktop count when there is
    /// none), kept within the desktops offered.
    static std::int64_t shownStashDesktop(const Config& config);

  private:
    SwiftUI::View ruleList(bool floating) const;
    SwiftUI::View stashEnabledRow() const;
    SwiftUI::View stashDesktopRow() const;

    SettingsModel& model_;
};

}  // namespace kelvo
