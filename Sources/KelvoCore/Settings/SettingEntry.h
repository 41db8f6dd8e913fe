#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Launcher/LauncherMatcher.h"
#include "KelvoCore/Settings/SettingsTab.h"

namespace kelvo {

/// One row of the settings window: where it sits, what it says, and the further words the
/// settings search finds it by.
struct SettingEntry {
    /// A fixed row's setting id; "tweak." or "key." and a name for the generated rows.
    std::string id;
    SettingsTab tab = SettingsTab::general;
    /// The title of the card that holds the row on its page.
    std::string card;
    std::string title;
    /// One line under the title.
    std::string detail;
    /// The longer explanation under the detail; never searched.
    std::optional<std::string> more;
    /// A warning shown with the row; searched.
    std::optional<std::string> caution;
    std::vector<std::string> keywords;

    /// What the search matches, in the order that decides between hits: the title and each
    /// keyword as names, then the detail and the caution as running text. The card and
    /// `more` are never searched.
    std::vector<LauncherMatcher::Field> fields() const;

    bool operator==(const SettingEntry&) const = default;
};

}  // namespace kelvo
