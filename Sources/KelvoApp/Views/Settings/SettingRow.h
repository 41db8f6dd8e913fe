#pragma once

#include <optional>
#include <string>

#include "KelvoCore/Settings/SettingEntry.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// One setting: its title (and a badge), its prose, a caution when there is one, and the
/// control that changes it at the trailing end. The row is also what the settings search
/// scrolls to and flashes, under the entry's id.
class SettingRow {
  public:
    static constexpr CGFloat spacing = 18;
    static constexpr CGFloat columnSpacing = 2;
    static constexpr CGFloat titleSpacing = 7;
    static constexpr CGFloat titleSize = 13;
    static constexpr CGFloat proseSize = 11.5;
    static constexpr CGFloat proseWidth = 400;
    static constexpr CGFloat cautionSpacing = 5;
    static constexpr CGFloat cautionSymbolSize = 9;
    static constexpr CGFloat cautionGap = 3;
    static constexpr CGFloat controlGap = 12;
    static constexpr CGFloat horizontalInset = 16;
    static constexpr CGFloat verticalInset = 11;

    SettingEntry entry;
    /// Replaces the entry's detail.
    std::optional<std::string> detail = std::nullopt;
    /// A short tag after the title.
    std::optional<std::string> badge = std::nullopt;
    /// Replaces the entry's caution.
    std::optional<std::string> caution = std::nullopt;
    /// Replaces both details, for prose with emphasis or live values.
    std::optional<SwiftUI::Text> detailText = std::nullopt;
    SwiftUI::View control = {};

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View column() const;
    SwiftUI::View prose() const;
    std::optional<SwiftUI::View> cautionLine() const;
};

/// What makes a view the target of a found setting: its identity (scrolled to by the id),
/// its element's identifier and label, and the flash highlight while the id is flashing.
SwiftUI::View settingTarget(const SwiftUI::View& view, const std::string& id,
                            const std::string& label);

}  // namespace kelvo
