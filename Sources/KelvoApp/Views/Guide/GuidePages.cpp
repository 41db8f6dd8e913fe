#include "KelvoApp/Views/Guide/GuidePages.h"

#include <string>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Guide/GuideKeyRow.h"
#include "KelvoApp/Views/Guide/GuideModel.h"
#include "KelvoApp/Views/Guide/GuideNote.h"
#include "KelvoApp/Views/Guide/GuidePermissionCard.h"
#include "KelvoApp/Views/Guide/GuideStatusRow.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/KeyCaps.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoApp/Views/Settings/TweakRows.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "KelvoCore/Guide/FirstRunGuide.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

namespace kelvo {

using namespace SwiftUI;

namespace GuidePages {

namespace {

using SettingID = SettingsCatalog::SettingID;

constexpr long long fewestDesktops = 1;
constexpr long long mostDesktops = 9;
/// The desktop switch and the desktop throw lead the day-one list.
constexpr std::size_t twoChords = 2;

}  // namespace

std::vector<View> cards(GuideStep step, GuideModel& model, SettingsModel& settings) {
    switch (step) {
        case GuideStep::accessibility:
            return accessibility(model);
        case GuideStep::desktops:
            return desktops(settings);
        case GuideStep::keys:
            return keys(settings);
        case GuideStep::tweaks:
            return tweaks(settings);
        case GuideStep::done:
            return done(model, settings);
    }
    return {};
}

std::vector<View> accessibility(GuideModel& model) {
    return {GuidePermissionCard{model.trusted(), &GuidePermissionCard::requestAccess}};
}

std::vector<View> desktops(SettingsModel& settings) {
    const long long count = settings.config().desktopCount;
    const Binding<long long> desktopCount(
        [&settings] { return static_cast<long long>(settings.config().desktopCount); },
        [&settings](const long long& value) {
            settings.updateConfig([value](Config& config) { config.desktopCount = value; });
        });
    const View row = SettingRow{
        .entry = SettingsCatalog::entry(SettingID::desktopCount),
        .detail = "⌥1 through ⌥" + std::to_string(count) + " " + "switch between them.",
        .control = Counter{desktopCount, fewestDesktops, mostDesktops},
    };
    std::vector<KeyReference::Entry> chords = FirstRunGuide::dayOne(settings.config());
    if (chords.size() > twoChords) chords.erase(chords.begin() + twoChords, chords.end());
    return {Card("Desktops", {row}), GuideKeyRow::card("The two chords", chords)};
}

std::vector<View> keys(SettingsModel& settings) {
    return {GuideKeyRow::card("Day one", FirstRunGuide::dayOne(settings.config()))};
}

std::string revertNote() {
    return "Every switch below writes one macOS preference key, and Kelvo writes down what was "
           "in it first. **Settings ▸ System ▸ " +
           SettingsCatalog::entry(SettingID::revertTweaks).title +
           "** puts every one of them back exactly as Kelvo found it, and deletes the ones that "
           "were not set before.\n\nThat button is the whole way out. Kelvo has no uninstaller, "
           "so deleting the app without pressing it would leave whatever you turn on here "
           "turned on, with nothing left that remembers what it was.";
}

std::vector<View> tweaks(SettingsModel& settings) {
    std::vector<View> rows;
    for (const SystemTweak& tweak : SystemTweakCatalog::all()) {
        if (!rows.empty()) rows.push_back(Hairline());
        rows.push_back(SystemTweakRow{tweak, settings});
    }
    return {Card("Putting them back", {GuideNote{revertNote()}}),
            Card("macOS settings", std::move(rows)),
            Card("Also worth knowing", {ReduceMotionRow{}})};
}

std::vector<View> done(GuideModel& model, SettingsModel& settings) {
    const View settingsFile = SettingRow{
        .entry = SettingsCatalog::entry(SettingID::settingsFileLocation),
        .detail = settings.configPath + " · saved as you change it",
        .control = Action{"Show in Finder", [&settings] { settings.revealConfigFile(); }},
    };
    const View findAnySetting = GuideStatusRow{
        "Find any setting", "In the settings window, type what you are after and press Enter.",
        false, ChordChips{{{"⌘", "K"}}}};
    const View logFile = SettingRow{
        .entry = SettingsCatalog::entry(SettingID::logFile),
        .control = Action{"Reveal in Finder", [&settings] { settings.revealLogFile(); }},
    };
    const View openSettings = GuideStatusRow{
        "Everything, on seven tabs",
        "Also in the menu bar, under Kelvo's icon. This guide is on the About tab if you want it "
        "again.",
        false, Action{"Open Settings", [&model] {
                          if (model.onOpenSettings) model.onOpenSettings();
                      }}};
    return {Card("Where everything is",
                 {settingsFile, Hairline(), findAnySetting, Hairline(), logFile}),
            Card("Settings", {openSettings})};
}

}  // namespace GuidePages

}  // namespace kelvo
