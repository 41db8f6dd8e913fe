#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/NSNotificationCenter.h"
#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoApp/Services/Launcher/LauncherApp.h"
#include "KelvoApp/Services/Launcher/LauncherPanel.h"
#include "KelvoApp/Services/Launcher/LauncherViewModel.h"
#include "KelvoApp/Services/Launcher/QueryField.h"
#include "KelvoCore/Launcher/LauncherRequest.h"
#include "Platform/SwiftUI/NSHostingView.h"

namespace kelvo {

/// The launcher: a floating panel opened on the screen under the pointer, where a typed part
/// of an application's name picks it. It owns the panel and the scans of the installed
/// applications, and hands each pick to the coordinator.
class LauncherController {
  public:
    /// What the coordinator gives the launcher.
    struct Callbacks {
        std::function<std::optional<int>(const std::string&)> desktopOf = nullptr;
        std::function<bool(const LauncherEntry&)> bringsHere = nullptr;
        std::function<std::vector<std::string>()> recents = nullptr;
        std::function<bool()> vimMode = nullptr;
        std::function<void(const std::string&)> recordUse = nullptr;
        std::function<void(const std::string&)> expectActivation = nullptr;
        std::function<void(const LauncherApp&, LauncherRequest)> commit = nullptr;
    };

    /// Where the candidates come from, and the applications in front. The candidates and
    /// their icons come from the application catalogue unless given.
    struct Sources {
        /// Every installed application; may take long, runs on the scan queue.
        std::function<LauncherViewModel::Apps()> installed = nullptr;
        /// The regular running applications.
        std::function<LauncherViewModel::Apps()> running = nullptr;
        LauncherViewModel::IconLookup icons = nullptr;
        /// The application in front now.
        std::function<std::optional<RunningApplication>()> frontmost = nullptr;
        std::function<std::vector<RunningApplication>()> runningApplications = nullptr;
        std::function<void(int pid)> activate = nullptr;
        /// Where the scans run; a queue of the launcher's own when none is given.
        std::optional<DispatchQueue> scanQueue = std::nullopt;
    };

    static constexpr CGFloat width = 640;
    /// How far below the top of the visible area the panel's top edge stays, as a share of
    /// the visible height.
    static constexpr double topInset = 0.22;

    LauncherController(Callbacks callbacks, Sources sources);
    ~LauncherController();
    LauncherController(const LauncherController&) = delete;
    LauncherController& operator=(const LauncherController&) = delete;

    /// Opens the panel in front, reset, on the screen under the pointer.
    void show();
    bool isShown() const { return panel_->isVisible(); }
    /// Hides a shown panel, resets it and gives the front back to the application it covered.
    void cancel();

    LauncherPanel& panel() const { return *panel_; }
    LauncherViewModel& model() const { return *model_; }
    SwiftUI::NSHostingView& content() const { return *host_; }
    /// The query field once the view has laid it out; null before.
    QueryTextField* field() const;
    /// The application in front when the panel opened, until the panel hides.
    const std::optional<RunningApplication>& previousApp() const { return previousApp_; }
    bool isScanning() const { return scanning_; }
    const Callbacks& callbacks() const { return callbacks_; }

  private:
    void buildPanel();
    void wireCallbacks();
    void observeResignKey();
    void rescan();
    LauncherViewModel::Apps merged() const;
    void reposition();
    void focusField(std::optional<LauncherModel::Caret> caret = std::nullopt);
    /// Lays the content out now, so that the query field exists where the view puts it.
    void layOutContent();
    void hand(const LauncherApp& app, LauncherRequest request);
    /// Orders the panel out and resets it; the previous application is forgotten.
    void hide();

    Callbacks callbacks_;
    Sources sources_;
    std::shared_ptr<LauncherViewModel> model_;
    std::unique_ptr<LauncherPanel> panel_;
    std::shared_ptr<SwiftUI::NSHostingView> host_;
    LauncherViewModel::Apps installed_;
    bool scanning_ = false;
    std::optional<RunningApplication> previousApp_;
    NSNotificationToken resignObserver_;
    DispatchQueue scanQueue_;
    /// Lets late work (a scan's result, a deferred focus) find out whether the launcher lives.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo
