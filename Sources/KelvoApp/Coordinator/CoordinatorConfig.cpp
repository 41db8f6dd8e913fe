#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
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

void Coordinator::applyConfig(const Config& next) {
    // 1–2: a change confined to the launcher's recents goes no further.
    const Config old = config;
    config = next;
    Config withOldRecents = next;
    withOldRecents.launcherRecents = LauncherRecents::cleaned(old.launcherRecents);
    if (withOldRecents == old) return;

    // 3–5: the bridge and the store, then the new rules.
    bridge->setConfig(next);
    store->apply(next);
    releaseIgnored(difference(next.ignoreBundleIDs, old.ignoreBundleIDs));
    std::set<std::string> floated = difference(next.floatBundleIDs, old.floatBundleIDs);
    for (const std::string& b : next.ignoreBundleIDs)
        floated.erase(b);
    floatNewlyFloated(floated);

    // 6: the status item, with the count the store uses. A count change is judged against
    // the previous configuration: the key tap's armed one may lag behind it.
    if (next.desktopCount != old.desktopCount) menuBar->setDesktopCount(store->desktopCount());
    if (next.showFocusedAppName != old.showFocusedAppName) {
        menuBar->setShowsName(next.showFocusedAppName);
    }

    // 7: the keys.
    rearmKeys(next);

    // 8–9: focus-follows-pointer and the modifier-click.
    if (next.focusFollowsCursor) {
        startFocusFollowsCursor();
    } else {
        if (focusFollowsCursorService) focusFollowsCursorService->stop();
        focusFollowsCursorService.reset();
        focusDwell->cancel();
    }
    if (next.clickToFloat) {
        try {
            hotkeys->startClickBinding();
        } catch (const HotkeyError& error) {
            log(std::string("⌥⇧click: could not start its mouse tap (") + error.what() +
                "); the binding is off");
        }
    } else {
        hotkeys->stopClickBinding();
    }

    // 10: the launcher.
    if (!next.showLauncher && launcher) {
        dismissLauncher();
        launcher.reset();
    } else if (next.showLauncher && !launcher) {
        launcher = makeLauncher();
    }

    // 11: the border's look.
    if (next.focusBorderColor != old.focusBorderColor ||
        next.focusBorderOpacity != old.focusBorderOpacity ||
        next.focusBorderCornerRadius != old.focusBorderCornerRadius) {
        focusBorder->setAppearance(HexColor::parse(next.focusBorderColor), next.focusBorderOpacity,
                                   next.focusBorderCornerRadius);
    }

    // 12.
    focusNameRefresh();
    desktopRefresh();
    syncOwnWindows();
}

void Coordinator::releaseIgnored(const std::set<std::string>& ignored) {
    if (ignored.empty()) return;
    std::vector<WindowID> collected;
    for (const auto& [w, bundle] : appNames) {
        if (ignored.count(bundle)) collected.push_back(w);
    }
    for (WindowID w : collected) {
        if (!store->desktop(w)) continue;
        log("rule now ignores " + w.description() + " " + appNames[w] + "; releasing it");
        if (focused == w) focused.reset();
        if (pendingFocus == w) pendingFocus.reset();
        // Released windows must not stay in the corner or in the Dock where parking put them.
        store->putBack(w);
        store->remove(w);
        appNames.erase(w);
    }
    if (!collected.empty()) reseedFocusIfStale();
}

void Coordinator::floatNewlyFloated(const std::set<std::string>& floated) {
    if (floated.empty()) return;
    for (const auto& [w, bundle] : appNames) {
        if (!floated.count(bundle) || !store->desktop(w) || store->isFloating(w)) continue;
        log("rule now floats " + named(w) + "; taking it out of the layout");
        store->toggleFloat(w, focused);
    }
    focusNameRefresh();
}

void Coordinator::rearmKeys(const Config& next) {
    if (next.primaryModifier != armedConfig.primaryModifier) {
        Keymap keymap(next);
        EventTaps::Tap tap = 0;
        try {
            tap = hotkeys->makeTap();
        } catch (const HotkeyError& error) {
            log("could not re-arm the key tap for " + rawValue(next.primaryModifier) + " (" +
                error.what() + "); keys still use " + rawValue(armedConfig.primaryModifier));
            return;
        }
        hotkeys->teardown();
        hotkeys->install(tap, tap);
        hotkeys->keymap = std::move(keymap);
    } else if (next.desktopCount != armedConfig.desktopCount ||
               next.showLauncher != armedConfig.showLauncher ||
               next.shortcuts != armedConfig.shortcuts) {
        hotkeys->keymap = Keymap(next);
    }
    armedConfig = next;
}

}  // namespace kelvo
