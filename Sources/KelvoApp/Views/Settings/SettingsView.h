#pragma once

#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The settings window's root view: the tab bar, the search and the selected page.
class SettingsView {
  public:
    explicit SettingsView(SettingsModel& model) : model_(model) {}

    SwiftUI::View body() const;

  private:
    SettingsModel& model_;
};

}  // namespace kelvo
