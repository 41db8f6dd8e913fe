#include "KelvoApp/Views/Settings/AboutPage.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Updates/Updates.h"
#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/PageRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

View AboutPage::body() const {
    return Group({kelvoCard(), settingsFileCard(), diagnosticsCard(), footer()});
}

View AboutPage::kelvoCard() const {
    return Card("Kelvo", withHairlines({versionRow(), updatesRow(), guideRow()}));
}

View AboutPage::versionRow() const {
    SettingRow row = settingRow(ID::version, Readout{model_.versionString(), true});
    row.detail = model_.buildDetail();
    return row;
}

View AboutPage::updatesRow() const {
    Updates* updates = model_.updates;
    if (updates) updates->start();
    if (updates && updates->controller()) {
        SettingsModel* model = &model_;
        SettingRow row = settingRow(ID::checkForUpdates, Action{"Check now", [model] {
                                                                    if (model->updates)
                                                                        model->updates->checkNow();
                                                                }});
        row.detail = "Kelvo never checks unless you say it may.";
        return row;
    }
    SettingRow row = settingRow(ID::checkForUpdates, Readout{"-"});
    row.detail = "This copy is not a bundled app, so there is nothing to update.";
    return row;
}

View AboutPage::guideRow() const {
    SettingsModel* model = &model_;
    return settingRow(ID::guide, Action{"Open Guide…", [model] {
                                            if (model->openGuide) model->openGuide();
                                        }});
}

View AboutPage::settingsFileCard() const {
    std::vector<View> rows{settingsFileLocationRow(model_)};
    SettingsModel* model = &model_;
    rows.push_back(
        settingRow(ID::exportSettings, Action{"Export…", [model] { model->exportSettings(); }}));
    rows.push_back(
        settingRow(ID::importSettings, Action{"Import…", [model] { model->importSettings(); }}));
    rows.push_back(restoreRow());
    std::vector<View> content = withHairlines(rows);
    if (model_.transferNotice.get()) content.insert(content.begin(), transferNotice());
    return Card("Settings file", std::move(content));
}

View AboutPage::transferNotice() const {
    const SettingsModel::TransferNotice& notice = *model_.transferNotice.get();
    const View block =
        notice.failed
            ? bannerBlock(notice.text, "exclamationmark.triangle.fill", Palette::warning())
            : bannerBlock(notice.text, "checkmark.circle.fill", Palette::good());
    return block.padding(Edges::horizontal(), noticeInset).padding(Edges::top(), noticeInset);
}

View AboutPage::settingsFileLocationRow(SettingsModel& model) {
    SettingsModel* owner = &model;
    SettingRow row = settingRow(ID::settingsFileLocation,
                                Action{"Show in Finder", [owner] { owner->revealConfigFile(); }});
    row.detail = model.configPath + " · saved as you change it";
    return row;
}

View AboutPage::restoreRow() const {
    SettingsModel* model = &model_;
    const View row = settingRow(ID::restoreDefaults,
                                Action{"Restore…", [model] { model->confirmingRestore = true; }});
    return row.confirmationDialog(restoreTitle, Binding<bool>::to(model_.confirmingRestore),
                                  {DialogButton{"Restore defaults", ButtonRole::destructive,
                                                [model] { model->restoreDefaults(); }},
                                   DialogButton{"Cancel", ButtonRole::cancel, [] {}}},
                                  restoreMessage);
}

View AboutPage::diagnosticsCard() const {
    return Card("Diagnostics", withHairlines({logFileRow(model_), reportRow()}));
}

View AboutPage::logFileRow(SettingsModel& model) {
    SettingsModel* owner = &model;
    return settingRow(ID::logFile, Action{"Reveal in Finder", [owner] { owner->revealLogFile(); }});
}

View AboutPage::reportRow() const {
    SettingsModel* model = &model_;
    // The diagnostics show the report's folder themselves; there is nothing more to say here.
    SettingRow row = settingRow(ID::reportProblem,
                                Action{"Save to Desktop", [model] { model->reportProblem(); }});
    row.detail = reportDetail(model_.crashCount());
    return row;
}

std::string AboutPage::reportDetail(int crashCount) {
    if (crashCount > 0)
        return std::to_string(crashCount) + " crash report(s) on this machine will be " +
               "included.";
    return "Saves a report to your Desktop you can send on.";
}

View AboutPage::footer() const {
    return Text(footerText)
        .font(Font::system(footerSize))
        .foregroundColor(Palette::dim())
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::center()})
        .padding(Edges::top(), footerTopInset);
}

}  // namespace kelvo
