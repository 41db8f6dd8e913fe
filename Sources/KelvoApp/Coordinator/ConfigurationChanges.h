#pragma once

#include <filesystem>
#include <functional>
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
class CommandRouting;
class OwnWindows;

/// The configuration the running system follows: the configuration store, the configuration
/// in force, and what a change of it does to the bridge, the store, the rules' windows, the
/// keys, the pointer bindings, the launcher, the border and the status item.
class ConfigurationChanges {
  public:
    /// What a change asks of the launcher, the border and the pointer focus.
    struct Callbacks {
        /// Makes or drops the launcher as it is switched on or off.
        std::function<void(bool)> followLauncher;
        std::function<void(const Config&)> restyleBorder;
        std::function<void()> startPointerFocus;
        std::function<void()> stopPointerFocus;
    };

    ConfigurationChanges(const CoordinatorProcess& process, const ProcessLog& log,
                         WindowNames& names, StoreWiring& wiring, Focus& focus,
                         CommandRouting& commands, OwnWindows& ownWindows, Callbacks callbacks);
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
    CommandRouting& commands_;
    OwnWindows& ownWindows_;
    Callbacks callbacks_;

    std::unique_ptr<ConfigStore> store_;
    Config config_;
};

}  // namespace kelvo
