#include "KelvoApp/Coordinator/ConfigurationChanges.h"

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Coordinator/CommandRouting.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/Focus.h"
#include "KelvoApp/Coordinator/OwnWindows.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

namespace {

std::set<std::string> difference(const TextSet& added, const TextSet& before) {
    std::set<std::string> result;
    for (const std::string& b : added) {
        if (!before.count(b)) result.insert(b);
    }
    return result;
}

}  // namespace

ConfigurationChanges::ConfigurationChanges(const CoordinatorProcess& process, const ProcessLog& log,
                                           WindowNames& names, StoreWiring& wiring, Focus& focus,
                                           CommandRouting& commands, OwnWindows& ownWindows,
                                           Callbacks callbacks)
    : process_(process),
      log_(log),
      names_(names),
      wiring_(wiring),
      focus_(focus),
      commands_(commands),
      ownWindows_(ownWindows),
      callbacks_(std::move(callbacks)) {}

void ConfigurationChanges::load(const std::filesystem::path& configURL) {
    store_ = std::make_unique<ConfigStore>(configURL, ConfigStore::mainQueueScheduler());
    if (store_->loadFailed()) {
        const std::string reason = store_->loadError() ? ConfigStore::describe(store_->loadError())
                                                       : std::string("unknown error");
        writeAll(process_.standardError, "kelvo: " + configURL.string() + " could not be read (" +
                                             reason + "); using defaults.\n");
    }
    config_ = store_->config();
}

void ConfigurationChanges::watch() {
    store().onChange = [this](const Config& next) {
        apply(next);
        ownWindows_.adoptConfiguration(next);
    };
}

void ConfigurationChanges::apply(const Config& next) {
    const Config old = config_;
    config_ = next;
    Config withOldRecents = next;
    withOldRecents.launcherRecents = LauncherRecents::cleaned(old.launcherRecents);
    if (withOldRecents == old) return;

    wiring_.bridge().setConfig(next);
    wiring_.store().apply(next);
    applyRules(next, old);
    applyToStatusItem(next, old);
    commands_.rearmKeys(next);
    applyPointerBindings(next);
    callbacks_.followLauncher(next.showLauncher);
    applyBorderLook(next, old);
    focus_.focusNameRefresh();
    ownWindows_.desktopRefresh();
    ownWindows_.syncOwnWindows();
}

void ConfigurationChanges::applyRules(const Config& next, const Config& old) {
    releaseIgnored(difference(next.ignoreBundleIDs, old.ignoreBundleIDs));
    std::set<std::string> floated = difference(next.floatBundleIDs, old.floatBundleIDs);
    for (const std::string& b : next.ignoreBundleIDs)
        floated.erase(b);
    floatNewlyFloated(floated);
}

void ConfigurationChanges::applyToStatusItem(const Config& next, const Config& old) {
    // A count change is judged against the previous configuration: the key tap's armed one
    // may lag behind it. The status item shows the count the store uses.
    if (next.desktopCount != old.desktopCount) {
        ownWindows_.setDesktopCount(wiring_.store().desktopCount());
    }
    if (next.showFocusedAppName != old.showFocusedAppName) {
        ownWindows_.setShowsName(next.showFocusedAppName);
    }
}

void ConfigurationChanges::applyPointerBindings(const Config& next) {
    if (next.focusFollowsCursor) {
        callbacks_.startPointerFocus();
    } else {
        callbacks_.stopPointerFocus();
    }
    if (next.clickToFloat) {
        commands_.startClickBinding();
    } else {
        commands_.stopClickBinding();
    }
}

void ConfigurationChanges::applyBorderLook(const Config& next, const Config& old) {
    if (next.focusBorderColor != old.focusBorderColor ||
        next.focusBorderOpacity != old.focusBorderOpacity ||
        next.focusBorderCornerRadius != old.focusBorderCornerRadius) {
        callbacks_.restyleBorder(next);
    }
}

void ConfigurationChanges::releaseIgnored(const std::set<std::string>& ignored) {
    if (ignored.empty()) return;
    const std::vector<WindowID> collected = names_.windowsOf(ignored);
    WorkspaceStore& store = wiring_.store();
    for (WindowID w : collected) {
        if (!store.desktop(w)) continue;
        log_.log("rule now ignores " + names_.named(w) + "; releasing it");
        focus_.forget(w);
        // Released windows must not stay in the corner or in the Dock where parking put them.
        store.putBack(w);
        store.remove(w);
        names_.forget(w);
    }
    if (!collected.empty()) focus_.reseedFocusIfStale();
}

void ConfigurationChanges::floatNewlyFloated(const std::set<std::string>& floated) {
    if (floated.empty()) return;
    WorkspaceStore& store = wiring_.store();
    for (WindowID w : names_.windowsOf(floated)) {
        if (!store.desktop(w) || store.isFloating(w)) continue;
        log_.log("rule now floats " + names_.named(w) + "; taking it out of the layout");
        store.toggleFloat(w, focus_.focused());
    }
    focus_.focusNameRefresh();
}

}  // namespace kelvo
