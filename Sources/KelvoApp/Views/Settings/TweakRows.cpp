#include "KelvoApp/Views/Settings/TweakRows.h"

#include <algorithm>
#include <cctype>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"
#include "KelvoCore/Tweaks/TweakEffect.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

/// A scheme (a letter, then letters, digits, "+", "-" or "."), a colon and something after it,
/// without white space.
bool isURL(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    const bool schemeValid = std::all_of(text.begin(), text.begin() + colon, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
    const bool noSpace = std::none_of(text.begin(), text.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c));
    });
    return schemeValid && noSpace;
}

}  // namespace

View SystemTweakRow::body() const {
    SettingsModel* owner = &model;
    const SystemTweak shown = tweak;
    const Binding<bool> isOn([owner, shown] { return owner->isOn(shown); },
                             [owner, shown](const bool& on) { owner->set(shown, on); });
    return SettingRow{.entry = SettingsCatalog::entry(tweak),
                      .badge = kelvo::badge(tweak.effect),
                      .control = Switch{isOn}};
}

std::string ReduceMotionRow::detail(bool reducesMotion) {
    return std::string("Removes the Space-change animation. Currently ") +
           (reducesMotion ? "on" : "off") + ".";
}

void ReduceMotionRow::openPane(const std::string& url) {
    if (!isURL(url)) return;
    NSWorkspace::sharedWorkspace().openURL(url);
}

View ReduceMotionRow::body() const {
    return SettingRow{
        .entry = SettingsCatalog::entry(SettingsCatalog::SettingID::reduceMotion),
        .detail = detail(NSWorkspace::sharedWorkspace().accessibilityDisplayShouldReduceMotion()),
        .badge = badge,
        .control = Action{"Open…", [] { openPane(SystemTweakCatalog::reduceMotionPaneURL); }}};
}

}  // namespace kelvo
