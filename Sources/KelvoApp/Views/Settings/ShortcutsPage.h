#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Views/Settings/ShortcutRow.h"
#include "KelvoCore/Config/Config.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The Shortcuts page: the primary modifier, then every shortcut of the key reference in its
/// sections, with the notices and cautions about keys that are lost or that shadow a typed
/// character, and the button that resets them all.
struct ShortcutsPage {
    static constexpr CGFloat introSize = 11.5;
    static constexpr const char* intro =
        "Click a shortcut and press the keys you want it to use. Escape cancels, × unbinds it "
        "and gives the key back to your applications, and ↺ puts Kelvo's own back. The desktop "
        "keys follow the modifier above and are not separately editable.";
    /// ⌥E: the acute accent's dead key on many layouts.
    static constexpr std::uint16_t accentKeyCode = 14;

    SettingsModel& model;

    /// The list's lines for the configuration: each section's heading, rows and tail, a
    /// separator before every section but the first.
    static std::vector<ShortcutItem> shortcutItems(const Config& config);
    /// The shortcuts that lost their keys, each title between straight double quotes: "A",
    /// "A" and "B", "A", "B" and "C"; empty for none.
    static std::string displacedShortcuts(const Config& config);
    /// The caution about ⌥E, when something holds it.
    static std::optional<std::string> accentCaution(const Config& config);

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View modifierCard() const;
    SwiftUI::View shortcutsCard() const;
    SwiftUI::View header() const;
    SwiftUI::View resetRow() const;
};

}  // namespace kelvo
