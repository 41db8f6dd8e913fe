#pragma once

#include <optional>
#include <string>

#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The id of the setting row the search highlights now (the settings view sets it from the
/// model's `flashing`); none by default.
struct FlashedSetting {
    using Value = std::optional<std::string>;
    static Value defaultValue() { return std::nullopt; }
};

/// Marks a setting row as a target of the search: the row fades in an accent plate while
/// `flashedSetting` names it.
struct SettingAnchor {
    static constexpr CGFloat cornerRadius = 9;
    static constexpr CGFloat horizontalInset = 6;
    static constexpr double highlightOpacity = 0.2;
    static constexpr double fadeDuration = 0.25;

    std::string id;

    SwiftUI::View body(const SwiftUI::View& content) const;
};

/// Applies `SettingAnchor(id)` and gives the view the identity `id`, so that a scroll reader
/// can bring it into view by that id.
SwiftUI::View settingAnchor(const SwiftUI::View& content, const std::string& id);

/// The environment's `flashedSetting`.
std::optional<std::string> flashedSetting(const SwiftUI::EnvironmentValues& environment);
/// A copy of `content` whose views below read `id` as the `flashedSetting`.
SwiftUI::View flashedSetting(const SwiftUI::View& content, const std::optional<std::string>& id);

}  // namespace kelvo
