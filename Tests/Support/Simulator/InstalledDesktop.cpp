#include "Support/Simulator/InstalledDesktop.h"

#include <unistd.h>

#include "Simulator/SharedConnection.h"

namespace kelvo {

InstalledDesktop::InstalledDesktop(const CGRect& display, std::optional<std::string> bundlePath) {
    desktop->addDisplay(display);
    sim::SharedConnection::install(connection);
    sim::ApplicationSpec self;
    self.bundleID = ownBundleID;
    self.name = "Kelvo";
    self.executablePath = bundlePath ? *bundlePath + "/Contents/MacOS/KelvoApp" : "/build/KelvoApp";
    self.bundlePath = std::move(bundlePath);
    self.activationPolicy = sim::ActivationPolicy::accessory;
    self.pid = static_cast<sim::Pid>(getpid());
    ownPid = connection->registerClient(self);
}

InstalledDesktop::~InstalledDesktop() {
    sim::SharedConnection::install(nullptr);
}

}  // namespace kelvo
