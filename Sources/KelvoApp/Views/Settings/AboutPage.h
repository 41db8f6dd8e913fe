#pragma once

#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The About tab: the version and the check for updates, the way back to the guide, the
/// settings file (where it is, export, import, restore) and the diagnostics, over a line
/// naming the publisher. Only the restore edits the configuration, after asking.
class AboutPage {
  public:
    static constexpr CGFloat noticeInset = 14;
    static constexpr CGFloat footerSize = 11.5;
    static constexpr CGFloat footerTopInset = 2;
    static constexpr const char* footerText = "Kelvo is made by Skarvelt.";
    static constexpr const char* restoreTitle = "Put every Kelvo setting back to its default?";
    static constexpr const char* restoreMessage =
        "Your desktops, gaps, rules, keys and launcher settings all go back to how Kelvo ships. "
        "The system tweaks are NOT touched. Those are changes to macOS itself, and System has "
        "its own revert for them.";

    explicit AboutPage(SettingsModel& model) : model_(model) {}

    /// The Kelvo, Settings file and Diagnostics cards, then the footer.
    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    SwiftUI::View kelvoCard() const;
    SwiftUI::View settingsFileCard() const;
    SwiftUI::View diagnosticsCard() const;
    SwiftUI::View footer() const;

    /// Where the configuration file is and that it is saved as it changes; the guide shows
    /// it too.
    static SwiftUI::View settingsFileLocationRow(SettingsModel& model);
    /// The log file's row; the guide shows it too.
    static SwiftUI::View logFileRow(SettingsModel& model);
    /// The report row's prose for that many crash reports.
    static std::string reportDetail(int crashCount);

  private:
    SwiftUI::View versionRow() const;
    SwiftUI::View updatesRow() const;
    SwiftUI::View guideRow() const;
    SwiftUI::View transferNotice() const;
    SwiftUI::View restoreRow() const;
    SwiftUI::View reportRow() const;

    SettingsModel& model_;
};

}  // namespace kelvo
