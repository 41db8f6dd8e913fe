#include "KelvoApp/Views/Settings/FocusPage.h"

#include <algorithm>
#include <cmath>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

namespace {

/// A readout's number: the value rounded to a whole number, halves away from zero.
std::string wholeText(double value) {
    return std::isfinite(value) ? std::to_string(std::llround(value)) : "0";
}

}  // namespace

View FocusPage::body() const {
    return Group({borderCard(), pointerCard()});
}

View FocusPage::borderCard() const {
    const bool off = !model_.config().showFocusBorder;
    return Card(
        "Focus border",
        withHairlines(
            {settingRow(ID::focusBorder, Switch{configBinding(model_, &Config::showFocusBorder)}),
             dimmedWhen(settingRow(ID::focusBorderColour,
                                   ColorWell{configBinding(model_, &Config::focusBorderColor)}),
                        off),
             dimmedWhen(opacityRow(), off), dimmedWhen(radiusRow(), off),
             dimmedWhen(
                 settingRow(ID::focusBorderForeignFront,
                            Switch{configBinding(model_, &Config::hideFocusBorderOnForeignFront)}),
                 off)}));
}

View FocusPage::pointerCard() const {
    return Card(
        "Pointer",
        withHairlines({settingRow(ID::focusFollowsCursor,
                                  Switch{configBinding(model_, &Config::focusFollowsCursor)}),
                       dimmedWhen(delayRow(), !model_.config().focusFollowsCursor)}));
}

View FocusPage::opacityRow() const {
    const Binding<double> opacity = configBinding<double>(
        model_, [](const Config& config) { return config.focusBorderOpacity; },
        [](Config& config, const double& value) {
            config.focusBorderOpacity = Config::clampOpacity(value);
        });
    return settingRow(ID::focusBorderOpacity,
                      ValueSlider{opacity, 0, 1, std::nullopt, opacityReadout});
}

View FocusPage::radiusRow() const {
    const Binding<double> radius = configBinding<double>(
        model_, [](const Config& config) { return config.focusBorderCornerRadius; },
        [](Config& config, const double& value) {
            config.focusBorderCornerRadius = storedRadius(value);
        });
    return settingRow(
        ID::focusBorderRadius,
        ValueSlider{radius, 0, Config::maxFocusBorderCornerRadius, std::nullopt, radiusReadout});
}

View FocusPage::delayRow() const {
    const Binding<double> delay = configBinding<double>(
        model_,
        [](const Config& config) { return static_cast<double>(config.focusFollowsCursorDelay); },
        [](Config& config, const double& value) {
            config.focusFollowsCursorDelay = storedDelay(value);
        });
    return settingRow(ID::focusFollowsCursorDelay,
                      ValueSlider{delay, 0, static_cast<double>(Config::maxFocusFollowsCursorDelay),
                                  delayStep, delayReadout});
}

std::string FocusPage::opacityReadout(double opacity) {
    return wholeText(opacity * 100) + "%";
}

std::string FocusPage::radiusReadout(double radius) {
    return wholeText(radius) + "pt";
}

std::string FocusPage::delayReadout(double milliseconds) {
    return wholeText(milliseconds) + "ms";
}

double FocusPage::storedRadius(double radius) {
    return Config::clampCornerRadius(std::round(radius));
}

std::int64_t FocusPage::storedDelay(double milliseconds) {
    if (std::isnan(milliseconds)) return Config::defaultFocusFollowsCursorDelay;
    const double limited = std::clamp(std::round(milliseconds), 0.0,
                                      static_cast<double>(Config::maxFocusFollowsCursorDelay));
    return static_cast<std::int64_t>(limited);
}

}  // namespace kelvo
