#pragma once

#include <string>

#include "KelvoCore/Settings/SettingsTab.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The whole content of the settings window: the title strip, the sidebar and the scrolling
/// page of the selected tab, with the configuration file's notices above every page. It keeps
/// nothing of its own: everything comes from the model and every edit goes to it.
class SettingsView {
  public:
    static constexpr CGFloat titleRoom = 31;
    static constexpr CGFloat pageSpacing = 22;
    static constexpr CGFloat pageHorizontalInset = 24;
    static constexpr CGFloat pageVerticalInset = 22;
    static constexpr double revealDuration = 0.22;

    explicit SettingsView(SettingsModel& model) : model_(model) {}

    SwiftUI::View body() const;
    /// The notice of a failed save.
    SwiftUI::View writeErrorNotice(const std::string& error) const;

  private:
    SwiftUI::View workingArea() const;
    SwiftUI::View titleStrip() const;
    SwiftUI::View searchKey() const;
    SwiftUI::View scrollingPage() const;
    SwiftUI::View pageContent() const;
    SwiftUI::View page(SettingsTab tab) const;
    /// Hands the content height to the model while it owes one.
    static void reportHeight(SettingsModel& model, CGFloat height);

    SettingsModel& model_;
};

}  // namespace kelvo
