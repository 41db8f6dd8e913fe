#pragma once

#include <string>

#include "KelvoCore/Tweaks/SystemTweak.h"
#include "KelvoCore/Tweaks/TweakOutcome.h"

namespace kelvo {

class SettingsModel;

/// The System page's tweak switches and its "revert all": the tweak service writes and puts
/// back the preferences, the configuration keeps the service's records whatever the outcome
/// (a tweak that could not be put back stays on and can be tried again), and the outcomes
/// become the page's notice.
class TweakSwitches {
  public:
    explicit TweakSwitches(SettingsModel& model) : model_(model) {}

    void set(const SystemTweak& tweak, bool on);
    void revertAll();

    /// The notice for one switch's outcome; empty for none.
    static std::string notice(const SystemTweak& tweak, bool on, TweakOutcome outcome);

  private:
    SettingsModel& model_;
};

}  // namespace kelvo
