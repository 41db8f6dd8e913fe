#include "Support/KelvoCore/StoreFixture.h"

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

void StoreFixture::adoptOn(int d, std::uint32_t raw, const CGRect& frame, bool floating,
                           const std::string& bundleID) {
    if (d != store->activeDesktop()) store->switchTo(d, std::nullopt);
    settle();
    adopt(raw, frame, floating, bundleID);
    if (store->activeDesktop() != 1) store->switchTo(1, std::nullopt);
    settle();
}

AdoptionRecord StoreFixture::record(std::uint32_t raw, const std::string& bundleID, bool floating) {
    return AdoptionRecord{WindowID(raw), bundleID, floating, false};
}

void StoreFixture::frameEvent(std::uint32_t raw, const CGRect& frame) {
    bridge->window(WindowID(raw)).record.frame = frame;
    store->windowFrameChanged(WindowID(raw));
}

std::optional<CGRect> StoreFixture::frameOf(std::uint32_t raw) const {
    return bridge->actualFrame(WindowID(raw));
}

bool StoreFixture::refuseUntilGivenUp(std::uint32_t raw) {
    const WindowID w(raw);
    bridge->window(w).refuses().record.frame = CGRect(3, 3, 100, 100);
    // One strike per pass: three passes, and one to spare.
    for (int pass = 0; pass < 4 && !store->reconciler().unmanageable().count(w); ++pass) {
        store->applyLayoutNow();
        settle();
    }
    return store->reconciler().unmanageable().count(w) > 0;
}

}  // namespace kelvo
