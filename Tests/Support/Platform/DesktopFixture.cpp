#include "Support/Platform/DesktopFixture.h"

#include "Platform/AppKit/NSApplication.h"

namespace kelvo {

DesktopFixture::DesktopFixture() {
    NSApplication::sharedApplication().setTerminationHandler([this] { ++terminations_; });
}

DesktopFixture::~DesktopFixture() {
    // Work the test left on the main queue may still hold stand-ins; it runs before the
    // desktop goes, so nothing reaches a connection that is no longer installed.
    clock.runUntilIdle();
    NSApplication::sharedApplication().setTerminationHandler({});
    NSApplication::sharedApplication().setMainMenu(nullptr);
}

sim::Pid DesktopFixture::launch(const std::string& bundleID, bool activate) {
    sim::ApplicationSpec spec;
    spec.bundleID = bundleID;
    spec.name = bundleID.substr(bundleID.rfind('.') + 1);
    spec.executablePath = "/Applications/" + spec.name + ".app/Contents/MacOS/" + spec.name;
    spec.bundlePath = "/Applications/" + spec.name + ".app";
    const sim::Pid pid = desktop->launch(spec);
    if (activate) desktop->activate(pid);
    return pid;
}

sim::WindowNumber DesktopFixture::open(sim::Pid owner, const CGRect& frame, sim::WindowSpec spec) {
    spec.frame = frame;
    return desktop->openWindow(owner, spec);
}

}  // namespace kelvo
