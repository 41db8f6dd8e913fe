#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/AboutPage.h"
#include "KelvoApp/Views/Settings/FocusPage.h"
#include "KelvoApp/Views/Settings/GeneralPage.h"
#include "KelvoApp/Views/Settings/LauncherPage.h"
#include "KelvoApp/Views/Settings/TilingPage.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "PanelDesk.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo_pictures {

namespace {

using kelvo::Config;
using kelvo::SettingsModel;
using namespace SwiftUI;

/// The width a page has in the settings window at its default size: the window less the
/// sidebar and its rule.
constexpr CGFloat pageWidth = 696 - 196 - 1;

/// A settings model over a configuration of the picture's own, whose file is never written.
class PageDesk {
  public:
    explicit PageDesk(const std::function<void(Config&)>& change = nullptr) {
        Config config = model.config();
        if (change) change(config);
        model.setConfig(config);
    }

    /// The page in its column as the window shows it, on the window's background and in its
    /// accent, as tall as it needs.
    static CGImageRef picture(const std::function<View()>& page) {
        const auto column = [page] {
            return VStack(HorizontalAlignment::leading, 22, {page()})
                .padding(EdgeInsets{22, 24, 22, 24})
                .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
                .background(kelvo::Palette::background())
                .tint(kelvo::Palette::accent());
        };
        ViewGraph measure(column);
        const CGFloat height = measure.fittingSize({pageWidth, std::nullopt}).height;
        return renderView(column, {pageWidth, height});
    }

    PanelDesk desk;
    // Saves are handed to a queue that never runs them: the picture writes no file.
    kelvo::ConfigStore store{
        std::filesystem::temp_directory_path() / "kelvo-pictures" / "config.json",
        [](const kelvo::ConfigStore::WorkItem&) {}};
    SettingsModel model{
        store, kelvo::SystemTweakService(std::make_shared<kelvo::CFPreferenceStore>(), nullptr)};
};

CGImageRef generalPage() {
    PageDesk page;
    return PageDesk::picture([&] { return kelvo::GeneralPage(page.model).body(); });
}

CGImageRef generalPageAwaitingApproval() {
    PageDesk page;
    page.model.loginItemStatus = SMAppService::Status::requiresApproval;
    return PageDesk::picture([&] { return kelvo::GeneralPage(page.model).body(); });
}

CGImageRef tilingPage() {
    PageDesk page([](Config& config) {
        config.layoutModes.set(5, kelvo::LayoutMode::masterStack);
        config.layoutModes.set(2, kelvo::LayoutMode::bsp);
        config.gaps = kelvo::Gaps{8, 12};
        config.floatBundleIDs = {"com.example.calculator"};
    });
    page.model.runningApps = std::vector<kelvo::AppEntry>{{"com.example.notes", "Notes"}};
    return PageDesk::picture([&] { return kelvo::TilingPage(page.model).body(); });
}

CGImageRef focusPage() {
    PageDesk page([](Config& config) { config.focusFollowsCursor = true; });
    return PageDesk::picture([&] { return kelvo::FocusPage(page.model).body(); });
}

CGImageRef focusPageBorderOff() {
    PageDesk page([](Config& config) { config.showFocusBorder = false; });
    return PageDesk::picture([&] { return kelvo::FocusPage(page.model).body(); });
}

CGImageRef launcherPage() {
    PageDesk page([](Config& config) { config.terminalBundleID = "org.example.gone"; });
    return PageDesk::picture([&] { return kelvo::LauncherPage(page.model).body(); });
}

CGImageRef aboutPage() {
    PageDesk page;
    page.model.transferNotice = SettingsModel::TransferNotice{
        "Settings replaced with kelvo-settings.json. Your system tweaks were left as they are.",
        false};
    return PageDesk::picture([&] { return kelvo::AboutPage(page.model).body(); });
}

CGImageRef aboutPageFailedImport() {
    PageDesk page;
    page.model.transferNotice = SettingsModel::TransferNotice{
        "Could not read kelvo-settings.json: no such file. Nothing was changed.", true};
    return PageDesk::picture([&] { return kelvo::AboutPage(page.model).body(); });
}

}  // namespace

std::vector<Picture> settingsPagePictures() {
    return {
        {"settings-general", generalPage},
        {"settings-general-awaiting-approval", generalPageAwaitingApproval},
        {"settings-tiling", tilingPage},
        {"settings-focus", focusPage},
        {"settings-focus-border-off", focusPageBorderOff},
        {"settings-launcher", launcherPage},
        {"settings-about", aboutPage},
        {"settings-about-failed-import", aboutPageFailedImport},
    };
}

}  // namespace kelvo_pictures
