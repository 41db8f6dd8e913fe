#pragma once

#include <vector>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/View.h"

// How the pages of the settings window make their rows: each row from its catalogue entry,
// each control bound to one field of the model's configuration, rows that do not apply now
// dimmed, and a hairline between the rows of a card.

namespace kelvo {

/// The opacity of a row that does not apply now (and is disabled as a whole).
inline constexpr double dimmedRowOpacity = 0.45;

/// A binding to one field of the model's configuration: reading shows the field of the
/// current configuration, writing stores a changed copy through the model.
template <class T>
SwiftUI::Binding<T> configBinding(SettingsModel& model, T Config::*field) {
    SettingsModel* owner = &model;
    return SwiftUI::Binding<T>(
        [owner, field] { return owner->config().*field; },
        [owner, field](const T& value) {
            owner->updateConfig([&](Config& config) { config.*field = value; });
        });
}

/// A binding over the model's configuration read and written through two functions; `write`
/// changes a copy, which the model stores.
template <class T>
SwiftUI::Binding<T> configBinding(SettingsModel& model, std::function<T(const Config&)> read,
                                  std::function<void(Config&, const T&)> write) {
    SettingsModel* owner = &model;
    return SwiftUI::Binding<T>(
        [owner, read] { return read(owner->config()); },
        [owner, write](const T& value) {
            owner->updateConfig([&](Config& config) { write(config, value); });
        });
}

/// The row of a fixed setting with its control; the entry gives the title and the detail.
SettingRow settingRow(SettingsCatalog::SettingID id, SwiftUI::View control);

/// A row that does not apply now: disabled as a whole and drawn at `dimmedRowOpacity`;
/// otherwise enabled and opaque.
SwiftUI::View dimmedWhen(const SwiftUI::View& row, bool dimmed);

/// The rows with a hairline between each two.
std::vector<SwiftUI::View> withHairlines(const std::vector<SwiftUI::View>& rows);

}  // namespace kelvo
