#include "KelvoApp/Views/Settings/TilingPage.h"

#include <cmath>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/RulesCard.h"
#include "KelvoApp/Views/Settings/ValueControls.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

View TilingPage::body() const {
    return Group({windowsCard(), gapsCard(), RulesCard(model_)});
}

View TilingPage::windowsCard() const {
    const Segmented<LayoutMode> mode{configBinding(model_, &Config::defaultLayoutMode),
                                     {layout_mode::allCases.begin(), layout_mode::allCases.end()},
                                     [](const LayoutMode& option) { return title(option); }};
    std::vector<View> rows{settingRow(ID::defaultLayoutMode, mode)};
    const DesktopLayoutModes& modes = model_.config().layoutModes;
    if (!modes.isEmpty())
        rows.push_back(settingRow(ID::handSetDesktops, Readout{handSetDesktopsText(modes)}));
    rows.push_back(
        settingRow(ID::clickToFloat, Switch{configBinding(model_, &Config::clickToFloat)}));
    return Card("Windows", withHairlines(rows));
}

View TilingPage::gapsCard() const {
    return Card("Gaps", withHairlines({gapRow(true), gapRow(false)}));
}

View TilingPage::gapRow(bool inner) const {
    const Binding<double> gap = configBinding<double>(
        model_,
        [inner](const Config& config) { return inner ? config.gaps.inner : config.gaps.outer; },
        [inner](Config& config, const double& value) {
            (inner ? config.gaps.inner : config.gaps.outer) = storedGap(value);
        });
    return settingRow(inner ? ID::innerGap : ID::outerGap,
                      ValueSlider{gap, 0, Config::maxGap, std::nullopt, gapReadout});
}

std::string TilingPage::handSetDesktopsText(const DesktopLayoutModes& modes) {
    std::string text;
    for (int desktop : modes.desktops()) {
        if (!text.empty()) text += ", ";
        text += std::to_string(desktop);
    }
    return text;
}

std::string TilingPage::gapReadout(double gap) {
    return std::to_string(static_cast<long long>(std::trunc(gap))) + " pt";
}

double TilingPage::storedGap(double gap) {
    return Config::clampGap(std::round(gap));
}

}  // namespace kelvo
