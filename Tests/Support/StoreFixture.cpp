#include "Support/StoreFixture.h"

namespace kelvo {

Config StoreFixture::testConfig() {
    Config config;
    config.stashDesktop = std::nullopt;
    return config;
}

void StoreFixture::makeStore(bool withSchedulers) {
    store = std::make_unique<WorkspaceStore>(config, bridge, screen);
    recorder.install(*store);
    if (!withSchedulers) return;
    store->schedulers.coalesce = clock.scheduler(coalesceDelay);
    store->schedulers.scheduleRetry = clock.scheduler(retryDelay);
    store->schedulers.scheduleDragSettle = clock.scheduler(dragSettleDelay);
    store->schedulers.coalesceDragStep = clock.scheduler(coalesceDelay);
}

FakeWindowBridge::Window& StoreFixture::window(std::uint32_t raw, const CGRect& frame,
                                               const std::string& bundleID) {
    return bridge->add(WindowID(raw), frame, bundleID);
}

void StoreFixture::adopt(std::uint32_t raw, const CGRect& frame, bool floating,
                         const std::string& bundleID) {
    window(raw, frame, bundleID);
    store->add(WindowID(raw), bundleID, std::nullopt, floating, false);
    settle();
}

std::optional<CGRect> StoreFixture::frameOf(std::uint32_t raw) const {
    return bridge->actualFrame(WindowID(raw));
}

}  // namespace kelvo
