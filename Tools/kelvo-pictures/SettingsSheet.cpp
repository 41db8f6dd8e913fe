#include <filesystem>
#include <memory>
#include <vector>

#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoApp/Views/Settings/ShortcutsPage.h"
#include "KelvoApp/Views/Settings/SystemPage.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "PanelDesk.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo_pictures {

namespace {

using kelvo::SettingsModel;
using kelvo::SettingsTab;

/// The settings window's size when it opens without a screen to fit.
constexpr CGSize windowSize{696, 780};
/// The page's width beside the sidebar and its rule.
constexpr CGFloat pageWidth = 696 - 197;

/// A settings model of the default configuration on a desktop of this process; its store
/// points at a file that is never written.
class SettingsDesk {
  public:
    SettingsDesk()
        : store_(std::filesystem::temp_directory_path() / "kelvo-pictures-no-such-folder" /
                 "config.json"),
          model(store_,
                kelvo::SystemTweakService(std::make_shared<kelvo::CFPreferenceStore>(), [] {})) {}

  private:
    PanelDesk desk_;
    kelvo::ConfigStore store_;

  public:
    SettingsModel model;
};

CGImageRef window(SettingsTab tab, const std::function<void(SettingsModel&)>& prepare = {}) {
    SettingsDesk desk;
    desk.model.setSection(tab);
    if (prepare) prepare(desk.model);
    SettingsModel& model = desk.model;
    return renderView([&model] { return kelvo::SettingsView(model).body(); }, windowSize);
}

/// A whole page, as tall as it is, on the window's background.
CGImageRef wholePage(const std::function<SwiftUI::View(SettingsModel&)>& page) {
    SettingsDesk desk;
    SettingsModel& model = desk.model;
    const auto body = [&model, &page] {
        return page(model).padding(24).background(kelvo::Palette::background());
    };
    SwiftUI::ViewGraph graph(body);
    const CGSize size = graph.fittingSize({pageWidth, std::nullopt});
    return renderView(body, {pageWidth, size.height});
}

void typeQuery(SettingsModel& model, const std::string& query) {
    kelvo::SettingsSearch search(kelvo::SettingsCatalog::entries(model.config()));
    search.type(query);
    model.search = search;
}

}  // namespace

std::vector<Picture> settingsPictures() {
    return {
        {"settings-shortcuts", [] { return window(SettingsTab::shortcuts); }},
        {"settings-system", [] { return window(SettingsTab::system); }},
        {"settings-shortcuts-whole-page",
         [] { return wholePage([](SettingsModel& m) { return kelvo::ShortcutsPage{m}.body(); }); }},
        {"settings-system-whole-page",
         [] { return wholePage([](SettingsModel& m) { return kelvo::SystemPage{m}.body(); }); }},
        {"settings-chrome-notices",
         [] {
             return window(SettingsTab::general, [](SettingsModel& model) {
                 model.loadFailed = true;
                 model.writeError = std::string("The disk is full.");
             });
         }},
        {"settings-chrome-search",
         [] {
             return window(SettingsTab::system,
                           [](SettingsModel& model) { typeQuery(model, "motion"); });
         }},
        {"settings-chrome-search-no-match",
         [] {
             return window(SettingsTab::system,
                           [](SettingsModel& model) { typeQuery(model, "zebra crossing"); });
         }},
    };
}

}  // namespace kelvo_pictures
