#include "KelvoApp/Coordinator/Coordinator.h"

namespace kelvo {

Coordinator::Coordinator(CoordinatorProcess process)
    : process_(std::move(process)),
      processLog(process_.standardError),
      configuration(process_, processLog, windowNames, storeWiring, focus, pointerFocus, commands,
                    launcher, border, ownWindows),
      storeWiring(process_, processLog, windowNames, configuration, focus, border, ownWindows,
                  windowEvents),
      ownWindows(process_, processLog, storeWiring, configuration, startup),
      border(processLog, windowNames, storeWiring, configuration, focus),
      windowEvents(process_, processLog, windowNames, storeWiring, focus, border, ownWindows),
      launcher(process_, processLog, windowNames, storeWiring, configuration, focus, border,
               ownWindows),
      commands(process_, processLog, windowNames, storeWiring, configuration, focus, border,
               ownWindows, launcher),
      pointerFocus(process_, processLog, storeWiring, configuration, focus, ownWindows),
      focus(process_, processLog, windowNames, storeWiring, configuration, windowEvents, border,
            ownWindows),
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
