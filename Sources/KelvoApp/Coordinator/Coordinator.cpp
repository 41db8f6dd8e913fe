#include "KelvoApp/Coordinator/Coordinator.h"

namespace kelvo {

Coordinator::Coordinator(CoordinatorProcess process)
    : process_(std::move(process)),
      processLog(process_.standardError),
      configuration(process_, processLog, windowNames, storeWiring, focus, commands, ownWindows,
                    {
                        .followLauncher = [this](bool shown) { launcher.follow(shown); },
                        .restyleBorder = [this](const Config& next) { border.restyle(next); },
                        .startPointerFocus = [this] { pointerFocus.start(); },
                        .stopPointerFocus = [this] { pointerFocus.stop(); },
                    }),
      storeWiring(process_, processLog, windowNames, border,
                  {
                      .focusNameRefresh = [this] { focus.focusNameRefresh(); },
                      .flash = [this](int desktop) { ownWindows.flash(desktop); },
                      .adopted = [this](WindowID w) { windowEvents.adopted(w); },
                      .changeConfig =
                          [this](const std::function<void(Config&)>& change) {
                              configuration.store().update(change);
                          },
                  }),
      ownWindows(process_, processLog, storeWiring, configuration,
                 {.quit = [this] { startup.quitFromMenu(); }}),
      border(processLog, windowNames, storeWiring, configuration,
             {
                 .focused = [this] { return focus.focused(); },
                 .frontIsForeign = [this] { return focus.frontIsForeign(); },
             }),
      windowEvents(process_, processLog, windowNames, storeWiring, focus,
                   {
                       .updateBorder = [this] { border.update(); },
                       .borderFollowsMove = [this](WindowID w) { border.followMove(w); },
                       .desktopRefresh = [this] { ownWindows.desktopRefresh(); },
                   }),
      launcher(process_, processLog, windowNames, storeWiring, configuration, focus, ownWindows,
               {.hideBorder = [this] { border.hide(); }}),
      commands(process_, processLog, windowNames, storeWiring, configuration, focus, ownWindows,
               {
                   .hideBorder = [this] { border.hide(); },
                   .borderWindowNumber = [this] { return border.windowNumber(); },
                   .toggleLauncher = [this] { launcher.toggle(); },
               }),
      pointerFocus(
          process_, processLog, storeWiring, configuration,
          {
              .focused = [this] { return focus.focused(); },
              .claimFocus = [this](WindowID w, bool raising) { focus.claimFocus(w, raising); },
              .ownWindowHasKeyboard = [this] { return ownWindows.ownWindowHasKeyboard(); },
          }),
      focus(process_, processLog, windowNames, storeWiring, configuration, ownWindows,
            {
                .updateBorder = [this] { border.update(); },
                .hideBorder = [this] { border.hide(); },
                .adopt =
                    [this](WindowID w) {
                        windowEvents.beginAdoption(w, 0, std::nullopt, false, false);
                    },
                .adoptWindowlessFront =
                    [this](const std::optional<std::string>& bundle) {
                        windowEvents.adoptWindowlessFront(bundle);
                    },
            }),
      startup(process_, processLog, windowNames, configuration, storeWiring, ownWindows, border,
              windowEvents, launcher, commands, pointerFocus, focus) {}

Coordinator::~Coordinator() {
    // The services that call back into the coordinator go first.
    pointerFocus.release();
    commands.release();
    windowEvents.stop();
    processLog.flush();
}

}  // namespace kelvo
