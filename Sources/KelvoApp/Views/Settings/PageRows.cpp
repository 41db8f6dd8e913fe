#include "KelvoApp/Views/Settings/PageRows.h"

#include "KelvoApp/Views/Settings/Card.h"

namespace kelvo {

using namespace SwiftUI;

SettingRow settingRow(SettingsCatalog::SettingID id, View control) {
    return SettingRow{.entry = SettingsCatalog::entry(id), .control = std::move(control)};
}

View dimmedWhen(const View& row, bool dimmed) {
    return row.disabled(dimmed).opacity(dimmed ? dimmedRowOpacity : 1);
}

std::vector<View> withHairlines(const std::vector<View>& rows) {
    std::vector<View> separated;
    for (const View& row : rows) {
        if (!separated.empty()) separated.push_back(Hairline());
        separated.push_back(row);
    }
    return separated;
}

}  // namespace kelvo
