#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/AboutPage.h"
#include "KelvoApp/Views/Settings/FocusPage.h"
#include "KelvoApp/Views/Settings/GeneralPage.h"
#include "KelvoApp/Views/Settings/LauncherPage.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoApp/Views/Settings/ShortcutsPage.h"
#include "KelvoApp/Views/Settings/SystemPage.h"
#include "KelvoApp/Views/Settings/TilingPage.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "PanelDesk.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/SwiftUI/NSHostingView.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo_pictures {

namespace {

using kelvo::SettingsModel;
using kelvo::SettingsTab;

/// The settings window's size when it opens without a screen to fit.
constexpr CGSize windowSize{696, 780};
/// The page's width beside the sidebar and its rule.
constexpr CGFloat pageWidth = 696 - 197;

/// A settings model of the default configuration on a desktop of this process. Its store
/// never writes: the writes it hands over are dropped, as the picture is done before any of
/// them would be due, so that what one picture changes reaches neither the next picture nor
/// another run (which would read it back from the file).
class SettingsDesk {
  public:
    SettingsDesk()
        : store_(unwrittenFolder("settings") / "config.json",
                 [](const kelvo::ConfigStore::WorkItem&) {}),
          model(store_,
                kelvo::SystemTweakService(std::make_shared<kelvo::CFPreferenceStore>(), [] {}),
                unwrittenFolder("settings") / "kelvo.log") {}

    PanelDesk& desk() { return desk_; }

  private:
    PanelDesk desk_;
    kelvo::ConfigStore store_;

  public:
    SettingsModel model;
};

/// The settings view hosted in a window of the desk, as the window shows it: the fields it
/// hosts draw too, and take the keys the desk types.
class SettingsWindow {
  public:
    explicit SettingsWindow(SettingsModel& model)
        : host_(std::make_shared<SwiftUI::NSHostingView>(
              [&model] { return kelvo::SettingsView(model).body(); })),
          window_(std::make_shared<NSWindow>(CGRect(CGPoint{}, windowSize), NSWindowStyleMaskTitled,
                                             NSBackingStoreBuffered, false)) {
        host_->observe(model);
        window_->setContentView(host_);
        NSApplication::sharedApplication().activateIgnoringOtherApps(true);
        window_->makeKeyAndOrderFront(nullptr);
    }
    ~SettingsWindow() { window_->close(); }
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    /// The content at the pictures' two pixels a point.
    CGImageRef picture() const {
        const auto context = CGBitmapContext::make(windowSize, 2);
        if (!context) return nullptr;
        host_->viewWillDraw();
        host_->displayInContext(*context);
        return context->makeImage();
    }

  private:
    std::shared_ptr<SwiftUI::NSHostingView> host_;
    std::shared_ptr<NSWindow> window_;
};

/// The window on a tab, prepared on its model or by keys a person presses into it.
CGImageRef window(SettingsTab tab, const std::function<void(SettingsModel&)>& prepare = {},
                  const std::function<void(PanelDesk&)>& keys = {}) {
    SettingsDesk desk;
    desk.model.setSection(tab);
    if (prepare) prepare(desk.model);
    SettingsWindow shown(desk.model);
    desk.desk().wait(0.1);
    if (keys) {
        keys(desk.desk());
        desk.desk().wait(0.1);
    }
    return shown.picture();
}

/// A whole page, as tall as it is, on the window's background.
CGImageRef wholePage(const std::function<SwiftUI::View(SettingsModel&)>& page,
                     const std::function<void(SettingsModel&)>& prepare = {}) {
    SettingsDesk desk;
    if (prepare) prepare(desk.model);
    SettingsModel& model = desk.model;
    const auto body = [&model, &page] {
        return page(model).padding(24).background(kelvo::Palette::background());
    };
    SwiftUI::ViewGraph graph(body);
    const CGSize size = graph.fittingSize({pageWidth, std::nullopt});
    return renderView(body, {pageWidth, size.height});
}

/// A page whose cards stand in the column the window gives them, 22 apart.
template <class Page>
SwiftUI::View column(SettingsModel& model) {
    return SwiftUI::VStack(SwiftUI::HorizontalAlignment::leading, 22, {Page{model}.body()});
}

/// The configuration changed as the picture needs it.
std::function<void(SettingsModel&)> configured(const std::function<void(kelvo::Config&)>& change) {
    return [change](SettingsModel& model) { model.updateConfig(change); };
}

/// ⌘K, and the query typed into the search field once it has the keyboard.
std::function<void(PanelDesk&)> typedQuery(const std::string& query) {
    return [query](PanelDesk& desk) {
        desk.desktop().pressKey(kelvo::KeyCode::k, NSEventModifierFlagCommand);
        desk.wait(0.1);
        desk.desktop().typeText(query);
    };
}

}  // namespace

/// The window as it opens on each tab, and in the states of its chrome and its rows.
std::vector<Picture> settingsWindowPictures() {
    return {
        {"settings-shortcuts", [] { return window(SettingsTab::shortcuts); }},
        {"settings-system", [] { return window(SettingsTab::system); }},
        {"settings-shortcut-recording",
         [] {
             return window(SettingsTab::shortcuts, [](SettingsModel& model) {
                 model.setHotkeysSuspended = [](bool) {};
                 model.beginRecording(kelvo::Shortcut::showDesktop);
             });
         }},
        {"settings-general", [] { return window(SettingsTab::general); }},
        {"settings-general-awaiting-approval",
         [] {
             return window(SettingsTab::general, [](SettingsModel& model) {
                 model.loginItemStatus = SMAppService::Status::requiresApproval;
             });
         }},
        {"settings-tiling", [] { return window(SettingsTab::tiling); }},
        {"settings-focus", [] { return window(SettingsTab::focus); }},
        {"settings-focus-border-off",
         [] {
             return window(SettingsTab::focus, configured([](kelvo::Config& config) {
                               config.showFocusBorder = false;
                               config.focusFollowsCursor = true;
                           }));
         }},
        {"settings-launcher",
         [] {
             return window(SettingsTab::launcher, configured([](kelvo::Config& config) {
                               config.terminalBundleID = "org.example.gone";
                           }));
         }},
        {"settings-about", [] { return window(SettingsTab::about); }},
        {"settings-chrome-notices",
         [] {
             return window(SettingsTab::general, [](SettingsModel& model) {
                 model.loadFailed = true;
                 model.writeError = std::string("The disk is full.");
             });
         }},
        {"settings-chrome-search",
         [] { return window(SettingsTab::system, {}, typedQuery("motion")); }},
        {"settings-chrome-search-no-match",
         [] { return window(SettingsTab::system, {}, typedQuery("zebra crossing")); }},
    };
}

/// Each tab's page whole, including what the window shows only when scrolled.
std::vector<Picture> settingsPagePictures() {
    return {
        {"settings-shortcuts-whole-page",
         [] { return wholePage([](SettingsModel& m) { return kelvo::ShortcutsPage{m}.body(); }); }},
        {"settings-system-whole-page",
         [] { return wholePage([](SettingsModel& m) { return kelvo::SystemPage{m}.body(); }); }},
        {"settings-general-whole-page", [] { return wholePage(column<kelvo::GeneralPage>); }},
        {"settings-tiling-whole-page",
         [] {
             return wholePage(column<kelvo::TilingPage>, [](SettingsModel& model) {
                 model.updateConfig([](kelvo::Config& config) {
                     config.layoutModes.set(5, kelvo::LayoutMode::masterStack);
                     config.layoutModes.set(2, kelvo::LayoutMode::bsp);
                     config.gaps = kelvo::Gaps{8, 12};
                     config.floatBundleIDs = {"com.example.calculator"};
                 });
                 model.runningApps = std::vector<kelvo::AppEntry>{{"com.example.notes", "Notes"}};
             });
         }},
        {"settings-focus-whole-page", [] { return wholePage(column<kelvo::FocusPage>); }},
        {"settings-launcher-whole-page", [] { return wholePage(column<kelvo::LauncherPage>); }},
        {"settings-about-whole-page",
         [] {
             return wholePage(column<kelvo::AboutPage>, [](SettingsModel& model) {
                 model.transferNotice = SettingsModel::TransferNotice{
                     "Settings replaced with kelvo-settings.json. Your system tweaks were left "
                     "as they are.",
                     false};
             });
         }},
        {"settings-about-failed-import",
         [] {
             return wholePage(column<kelvo::AboutPage>, [](SettingsModel& model) {
                 model.transferNotice = SettingsModel::TransferNotice{
                     "Could not read kelvo-settings.json: no such file. Nothing was changed.",
                     true};
             });
         }},
    };
}

}  // namespace kelvo_pictures
