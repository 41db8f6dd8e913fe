#include "Support/Simulator/InstalledDesktop.h"

#include <unistd.h>

#include "Simulator/SharedConnection.h"

namespace kelvo {

InstalledDesktop::InstalledDesktop(std::optional<CGRect> display) {
    if (display) desktop->addDisplay(*display);
    sim::SharedConnection::install(connection);
}

InstalledDesktop::InstalledDesktop(const CGRect& display, std::optional<std::string> bundlePath)
    : InstalledDesktop(std::optional<CGRect>(display)) {
    registerSelf(system(std::move(bundlePath)));
}

InstalledDesktop::~InstalledDesktop() {
    sim::SharedConnection::install(nullptr);
}

sim::ApplicationSpec InstalledDesktop::system(std::optional<std::string> bundlePath) {
    sim::ApplicationSpec self;
    self.bundleID = ownBundleID;
    self.name = "Kelvo";
    self.executablePath = bundlePath ? *bundlePath + "/Contents/MacOS/KelvoApp" : "/build/KelvoApp";
    self.bundlePath = std::move(bundlePath);
    self.activationPolicy = sim::ActivationPolicy::accessory;
    self.pid = static_cast<sim::Pid>(getpid());
    return self;
}

sim::Pid InstalledDesktop::registerSelf(const sim::ApplicationSpec& self) {
    ownPid = connection->registerClient(self);
    return ownPid;
}

sim::Pid InstalledDesktop::launch(const std::string& bundleID, bool activate) {
    sim::ApplicationSpec spec;
    spec.bundleID = bundleID;
    spec.name = bundleID.substr(bundleID.rfind('.') + 1);
    spec.executablePath = "/Applications/" + spec.name + ".app/Contents/MacOS/" + spec.name;
    spec.bundlePath = "/Applications/" + spec.name + ".app";
    const sim::Pid pid = desktop->launch(spec);
    if (activate) desktop->activate(pid);
    return pid;
}

sim::Pid InstalledDesktop::launchAccessory(const std::string& bundleID) {
    sim::ApplicationSpec spec;
    spec.bundleID = bundleID;
    spec.activationPolicy = sim::ActivationPolicy::accessory;
    return desktop->launch(spec);
}

sim::WindowNumber InstalledDesktop::open(sim::Pid owner, const CGRect& frame,
                                         sim::WindowSpec spec) {
    spec.frame = frame;
    return desktop->openWindow(owner, spec);
}

}  // namespace kelvo
