#include "Support/KelvoApp/CoordinatorFixture.h"

#include "Base/Foundation/FileSystem.h"
#include "KelvoApp/Input/FocusBorder.h"

namespace kelvo {

void FakeEventSource::start() {
    started = true;
    if (recordFD_ >= 0) writeAll(recordFD_, "[events] start\n");
}

CoordinatorFixture::CoordinatorFixture() {
    platform.screenList = {FakeAppPlatform::screen(1600, 1000)};
    bridge = std::make_shared<FakeCoordinatorBridge>(initialConfig);
}

CoordinatorFixture::~CoordinatorFixture() {
    stopCoordinator();
}

std::optional<sim::WindowInfo> CoordinatorFixture::borderWindow() const {
    if (!coordinator || !coordinator->border.panel()) return std::nullopt;
    return simulated.desktop->window(
        static_cast<sim::WindowNumber>(coordinator->border.windowNumber()));
}

void CoordinatorFixture::recordOnStandardError() {
    environment["KELVO_LOG"] = "1";
    platform.recordFD = standardErrorDescriptor();
    taps.recordFD = standardErrorDescriptor();
}

FakeWindowBridge::Window& CoordinatorFixture::window(std::uint32_t raw, const CGRect& frame,
                                                     const std::string& bundleID) {
    return bridge->fake.add(WindowID(raw), frame, bundleID);
}

bool CoordinatorFixture::start() {
    CoordinatorProcess process;
    process.platform = &platform;
    process.taps = &taps;
    process.makeBridge = [this](const Config& config) {
        bridge->setConfig(config);
        return bridge;
    };
    process.makeEvents = [this](CoordinatorProcess::EventHandler) {
        auto made = std::make_unique<FakeEventSource>(platform.recordFD);
        events = made.get();
        return made;
    };
    return startCoordinator(std::move(process));
}

bool CoordinatorFixture::logged(const std::string& line) {
    for (const std::string& l : newLogLines()) {
        if (l == line) return true;
    }
    return false;
}

void CoordinatorFixture::startWithTwoWindows() {
    window(1, CGRect(0, 25, 800, 600));
    window(2, CGRect(100, 100, 700, 500), "com.example.other");
    ASSERT_TRUE(start());
    settle();
    markLog();
}

void CoordinatorFixture::adoptByEvent(std::uint32_t raw, const std::string& bundleID) {
    coordinator->windowEvents.eventCreated(WindowID(raw), bundleID, std::nullopt);
    settle();
}

}  // namespace kelvo
