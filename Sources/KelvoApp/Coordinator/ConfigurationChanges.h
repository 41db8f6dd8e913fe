#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "KelvoApp/Coordinator/MadeByStartup.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Config/ConfigStore.h"

namespace kelvo {

struct CoordinatorProcess;
class ProcessLog;
class WindowNames;
class StoreWiring;
class Focus;
class PointerFocus;
class CommandRouting;
class LauncherRequests;
class BorderTracking;
class OwnWindows;

/// The configuration the running system follows: the configuration store, the configuration
/// in force, and what a change of it does to the bridge, the store, the rules' windows, the
/// keys, the pointer bindings, the launcher, the border and the status item.
class ConfigurationChanges {
  public:
    ConfigurationChanges(const CoordinatorProcess& process, const ProcessLog& log,
                         WindowNames& names, StoreWiring& wiring, Focus& focus,
                         PointerFocus& pointerFocus, CommandRouting& commands,
                         LauncherRequests& launcher, BorderTracking& border,
                         OwnWindows& ownWindows);
    ConfigurationChanges(const ConfigurationChanges&) = delete;
    ConfigurationChanges& operator=(const ConfigurationChanges&) = delete;

    /// Reads the configuration file, saying on standard error when it exists but cannot be
    /// read; the defaults are used then.
    void load(const std::filesystem::path& configURL);
    /// From now on a change is applied and handed to the settings window.
    void watch();
    /// Applies a new configuration to the running system; a change confined to the
    /// launcher's recents goes no further than being kept.
    void apply(const Config& next);

    const Config& config() const { return config_; }
    ConfigStore& store() const { return madeByStartup(store_, "ConfigurationChanges::store"); }

  private:
    void applyRules(const Config& next, const Config& old);
    void applyToStatusItem(const Config& next, const Config& old);
    void applyPointerBindings(const Config& next);
    void applyBorderLook(const Config& next, const Config& old);
    void releaseIgnored(const std::set<std::string>& ignored);
    void floatNewlyFloated(const std::set<std::string>& floated);

    const CoordinatorProcess& process_;
    const ProcessLog& log_;
    WindowNames& names_;
    StoreWiring& wiring_;
    Focus& focus_;
    PointerFocus& pointerFocus_;
    CommandRouting& commands_;
    LauncherRequests& launcher_;
    BorderTracking& border_;
    OwnWindows& ownWindows_;

    std::unique_ptr<ConfigStore> store_;
    Config config_;
};

}  // namespace kelvo
