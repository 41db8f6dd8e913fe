#include "Simulator/Desktop.h"
#include "Simulator/DesktopTransaction.h"

namespace sim {

void Desktop::setProcessSignaller(ProcessSignaller signaller) {
    Transaction transaction(*this);
    processSignaller_ = std::move(signaller);
}

void Desktop::confirmProcess(Pid pid) {
    Transaction transaction(*this);
    Application* app = applicationLocked(pid);
    if (app && !app->info.terminated) app->processConfirmed = true;
}

bool Desktop::signalProcess(Pid pid, int signal) {
    Transaction transaction(*this);
    const Application* app = applicationLocked(pid);
    // A terminated application's process is gone, and the system may have given its pid to
    // another one since.
    if (!app || app->info.terminated || !app->processConfirmed || !processSignaller_) return false;
    return processSignaller_(pid, signal);
}

}  // namespace sim
