#pragma once

#include <vector>

#include "KelvoCore/Guide/GuideStep.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class GuideModel;
class SettingsModel;

/// The cards of each step's page. The settings they show are the settings window's own rows
/// and controls, bound to the same model, so a change here is a change there.
namespace GuidePages {

std::vector<SwiftUI::View> cards(GuideStep step, GuideModel& model, SettingsModel& settings);

std::vector<SwiftUI::View> accessibility(GuideModel& model);
std::vector<SwiftUI::View> desktops(SettingsModel& settings);
std::vector<SwiftUI::View> keys(SettingsModel& settings);
std::vector<SwiftUI::View> tweaks(SettingsModel& settings);
std::vector<SwiftUI::View> done(GuideModel& model, SettingsModel& settings);

/// The tweaks page's note on putting the macOS settings back.
std::string revertNote();

}  // namespace GuidePages

}  // namespace kelvo
