#include "Support/KelvoApp/SettingsModelFixture.h"

#include "Platform/AppKit/NSApplication.h"

namespace kelvo {

SettingsModelFixture::SettingsModelFixture() {
    std::filesystem::create_directories(configFile.parent_path());
}

SettingsModelFixture::~SettingsModelFixture() {
    model_.reset();
    window_.reset();
    settle();
}

SettingsModel& SettingsModelFixture::model() {
    if (model_) return *model_;
    if (!store) store = std::make_unique<ConfigStore>(configFile);
    model_ = std::make_unique<SettingsModel>(
        *store, SystemTweakService(prefs, [this] { ++dockRestarts; }), logFile);
    subscription_ = model_->subscribe([this] { ++notifications_; });
    return *model_;
}

void SettingsModelFixture::installHotkeyHook() {
    model().setHotkeysSuspended = [this](bool suspended) {
        hotkeyCalls.push_back(suspended ? "suspend" : "resume");
    };
}

void SettingsModelFixture::press(std::uint16_t keyCode, std::uint64_t flags) {
    if (!window_) {
        window_ = std::make_shared<NSWindow>(CGRect(100, 100, 400, 300), NSWindowStyleMaskTitled,
                                             NSBackingStoreBuffered, false);
    }
    NSApplication::sharedApplication().activateIgnoringOtherApps(true);
    window_->makeKeyAndOrderFront(nullptr);
    settle();
    desktop->pressKey(keyCode, flags);
    settle();
}

}  // namespace kelvo
