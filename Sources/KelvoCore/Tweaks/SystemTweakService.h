#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "KelvoCore/Tweaks/PreferenceStore.h"
#include "KelvoCore/Tweaks/SystemTweak.h"
#include "KelvoCore/Tweaks/SystemTweakRecord.h"
#include "KelvoCore/Tweaks/TweakOutcome.h"

namespace kelvo {

/// Turns the system tweaks on and off and puts them all back. Before a value is written the
/// key's old content is recorded; every write is read back before it counts. The records
/// are the configuration's: each operation is handed the map and changes it in place, and the
/// service keeps nothing of its own.
class SystemTweakService {
  public:
    /// Tweak id to the record of what its key held before.
    using Records = std::map<std::string, SystemTweakRecord>;

    /// `restartDock` is called after a Dock preference changed; an empty one does nothing.
    SystemTweakService(std::shared_ptr<PreferenceStore> prefs, std::function<void()> restartDock);

    /// Whether the tweak is on, which is whether its record exists; the store is not read.
    bool isOn(const std::string& id, const Records& records) const;

    /// Already on: writes the value again (something else may have changed the key) and
    /// answers unchanged. Otherwise records the key's content, writes and reads back.
    TweakOutcome enable(const SystemTweak& tweak, Records& records);
    /// Writes the recorded original back; the record goes only once that is verified.
    TweakOutcome disable(const std::string& id, Records& records);
    /// Restores every record in ascending id order and restarts the Dock at most once. One
    /// outcome per record that was in the map; the records that failed stay.
    std::map<std::string, TweakOutcome> revertAll(Records& records);

    const std::shared_ptr<PreferenceStore>& prefs() const { return prefs_; }

  private:
    TweakOutcome restore(const SystemTweakRecord& record);
    static bool holdsOriginal(const std::optional<PreferenceValue>& readBack,
                              const PreferenceOriginal& original);
    static bool isDockRecord(const SystemTweakRecord& record);
    void restartDockIfSet() const;

    std::shared_ptr<PreferenceStore> prefs_;
    std::function<void()> restartDock_;
};

}  // namespace kelvo
