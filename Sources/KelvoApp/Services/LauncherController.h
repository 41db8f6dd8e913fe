#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Interfaces/AppPlatform.h"
#include "KelvoApp/Services/LauncherApp.h"
#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoApp/Services/RequestLog.h"
#include "KelvoCore/Launcher/LauncherRequest.h"

namespace kelvo {

/// The launcher's query state as the coordinator resets it.
struct LauncherViewModel {
    std::string query;
    int resets = 0;
    void reset() {
        query.clear();
        ++resets;
    }
};

/// The launcher panel ("Open or switch to…"). Until its panel and matching are built it keeps
/// the coordinator's seven callbacks, remembers the front application when shown and records
/// what it is asked; a suite picks an application through `commit`.
class LauncherController {
  public:
    struct Callbacks {
        std::function<std::optional<int>(const std::string&)> desktopOf;
        std::function<bool(const LauncherEntry&)> bringsHere;
        std::function<std::vector<std::string>()> recents;
        std::function<bool()> vimMode;
        std::function<void(const std::string&)> recordUse;
        std::function<void(const std::string&)> expectActivation;
        std::function<void(const LauncherApp&, LauncherRequest)> commit;
    };

    /// `frontmost` answers which application is in front when the panel opens.
    LauncherController(Callbacks callbacks,
                       std::function<std::optional<RunningApplication>()> frontmost);

    void show();
    bool isShown() const { return panel.visible; }
    /// Orders a shown panel out with its query reset, and hands back the application that was
    /// in front when it opened, forgetting it.
    std::optional<RunningApplication> dismiss();

    OwnPanel panel;
    LauncherViewModel model;
    /// The application that was in front when the panel opened.
    std::optional<RunningApplication> previousApp;
    const std::function<void(const std::string&)>& expectActivation() const {
        return callbacks_.expectActivation;
    }
    const Callbacks& callbacks() const { return callbacks_; }
    RequestLog log;

  private:
    Callbacks callbacks_;
    std::function<std::optional<RunningApplication>()> frontmost_;
};

}  // namespace kelvo
