#include "KelvoApp/Settings/DockRestarter.h"

#include <csignal>

#include "Platform/AppKit/NSRunningApplication.h"
#include "Platform/Services/Signal.h"

namespace kelvo {

void DockRestarter::restart() {
    for (const auto& dock :
         NSRunningApplication::runningApplicationsWithBundleIdentifier(dockBundleIdentifier)) {
        const pid_t pid = dock->processIdentifier();
        if (pid > 0) posix::kill(pid, SIGTERM);
    }
}

}  // namespace kelvo
