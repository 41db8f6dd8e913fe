#include "KelvoApp/Settings/TweakSwitches.h"

#include <vector>

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/NothingChanged.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

namespace kelvo {

std::string TweakSwitches::notice(const SystemTweak& tweak, bool on, TweakOutcome outcome) {
    switch (outcome) {
        case TweakOutcome::changed:
        case TweakOutcome::unchanged:
            return {};
        case TweakOutcome::refusedUnrestorable:
            return tweak.domain + " " + tweak.key +
                   " already holds a value Kelvo cannot describe, so it will not overwrite "
                   "something it could not put back. Left alone.";
        case TweakOutcome::writeFailed:
            return NothingChanged::after(std::string("macOS would not let Kelvo ") +
                                         (on ? "set" : "restore") + " " + tweak.domain + " " +
                                         tweak.key);
    }
    return {};
}

void TweakSwitches::set(const SystemTweak& tweak, bool on) {
    SystemTweakService::Records records = model_.config().systemTweaks;
    const TweakOutcome outcome =
        on ? model_.tweaks.enable(tweak, records) : model_.tweaks.disable(tweak.id, records);
    model_.updateConfig([&](Config& next) { next.systemTweaks = std::move(records); });
    const std::string text = notice(tweak, on, outcome);
    model_.tweakNotice = text.empty() ? std::nullopt : std::optional<std::string>(text);
}

void TweakSwitches::revertAll() {
    SystemTweakService::Records records = model_.config().systemTweaks;
    const auto outcomes = model_.tweaks.revertAll(records);
    model_.updateConfig([&](Config& next) { next.systemTweaks = std::move(records); });
    // The outcomes come keyed by id, so the names follow in ascending order of the ids.
    std::string names;
    for (const auto& [id, outcome] : outcomes) {
        if (outcome == TweakOutcome::changed) continue;
        const auto tweak = SystemTweakCatalog::tweak(id);
        if (!names.empty()) names += ", ";
        names += tweak ? tweak->key : id;
    }
    if (names.empty()) {
        model_.tweakNotice = std::nullopt;
        return;
    }
    model_.tweakNotice = "Could not put " + names +
                         " back. Kelvo is still holding the record, so you can try again.";
}

}  // namespace kelvo
