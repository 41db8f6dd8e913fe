#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "Platform/AppKit/NSWindow.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/KelvoCore/FakePreferenceStore.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {

/// A settings model on an in-process desktop and the manual clock, this process run from its
/// application bundle, with a home folder of its own (HOME) holding the configuration file, a
/// store that writes at once, preferences in memory and the Dock restarts counted. The hot
/// keys' hook records each call.
class SettingsModelFixture : public DesktopFixture {
  protected:
    SettingsModelFixture();
    ~SettingsModelFixture() override;

    /// The model, made on first use so a test can arrange the store's file first.
    SettingsModel& model();
    /// Ends the model, as the end of the process does.
    void destroyModel() { model_.reset(); }
    /// Installs the coordinator's hot-key hook, which records "suspend" and "resume".
    void installHotkeyHook();
    /// Presses a key as the person does, into a window of this application in front.
    void press(std::uint16_t keyCode, std::uint64_t flags = 0);
    /// Every observer notification of the model so far.
    int notifications() const { return notifications_; }

    testing::TemporaryFolder home;
    testing::ScopedEnvironment homeVariable{"HOME", home.path().string()};
    std::filesystem::path configFile = home / ".config" / "kelvo" / "config.json";
    /// The log the process writes: in a test folder, as in test mode.
    std::filesystem::path logFile = home / "test" / "kelvo.log";
    std::unique_ptr<ConfigStore> store;
    std::shared_ptr<FakePreferenceStore> prefs = std::make_shared<FakePreferenceStore>();
    int dockRestarts = 0;
    std::vector<std::string> hotkeyCalls;

  private:
    std::shared_ptr<NSWindow> window_;
    std::unique_ptr<SettingsModel> model_;
    SwiftUI::ObservableObject::Subscription subscription_;
    int notifications_ = 0;
};

}  // namespace kelvo
