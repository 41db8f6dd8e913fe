#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "KelvoApp/Applications/AppEntry.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The Launcher tab: whether the launcher's shortcut is bound, its vim-style keys, and the
/// terminal that the new-terminal command opens.
class LauncherPage {
  public:
    /// The terminal choice's items: titles and bundle identifiers ("" for the automatic
    /// choice), with a divider before each position listed.
    struct TerminalOptions {
        std::vector<std::pair<std::string, std::string>> options;
        std::vector<std::size_t> dividersBefore;
    };

    explicit LauncherPage(SettingsModel& model) : model_(model) {}

    /// The Launcher and Terminal cards.
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    SwiftUI::View launcherCard() const;
    SwiftUI::View terminalCard() const;

    /// The automatic choice, the installed terminals, and a configured terminal that is not
    /// installed, so that the stored choice stays visible.
    static TerminalOptions terminalOptions(const std::optional<AppEntry>& automatic,
                                           const std::vector<AppEntry>& installed,
                                           const std::optional<std::string>& configured);

  private:
    SettingsModel& model_;
};

}  // namespace kelvo
