#include "KelvoApp/Views/Settings/SystemPage.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoApp/Views/Settings/TweakRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

namespace kelvo {

using namespace SwiftUI;

View SystemPage::body() const {
    std::vector<View> rows;
    if (const std::optional<std::string>& text = model.tweakNotice.get())
        rows.push_back(notice(*text).padding(EdgeInsets{14, 14, 0, 14}));
    bool first = true;
    for (const SystemTweak& tweak : SystemTweakCatalog::all()) {
        if (!first) rows.push_back(Hairline());
        first = false;
        rows.push_back(SystemTweakRow{tweak, model});
    }
    rows.push_back(Hairline());
    rows.push_back(ReduceMotionRow());
    rows.push_back(Hairline());
    rows.push_back(revertRow());
    return Card("System", std::move(rows));
}

View SystemPage::revertRow() const {
    SettingsModel* owner = &model;
    const View row = SettingRow{
        .entry = SettingsCatalog::entry(SettingsCatalog::SettingID::revertTweaks),
        .control =
            Action{"Revert all", [owner] { owner->confirmingRevert = true; }}.body().disabled(
                model.config().systemTweaks.empty())};
    return row.confirmationDialog(
        confirmTitle, Binding<bool>::to(model.confirmingRevert),
        {DialogButton{"Revert all", ButtonRole::destructive, [owner] { owner->revertAllTweaks(); }},
         DialogButton{"Cancel", ButtonRole::cancel, [] {}}},
        confirmMessage);
}

}  // namespace kelvo
