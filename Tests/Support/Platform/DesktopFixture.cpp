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

std::vector<std::uint16_t> DesktopFixture::keysReceived(sim::Pid pid) const {
    std::vector<std::uint16_t> keys;
    for (const auto& event : desktop->receivedInput(pid)) {
        if (event.type == sim::inputKeyDown) keys.push_back(event.keyCode);
    }
    return keys;
}

}  // namespace kelvo
