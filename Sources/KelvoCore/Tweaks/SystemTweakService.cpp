#include "KelvoCore/Tweaks/SystemTweakService.h"

#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

namespace kelvo {

SystemTweakService::SystemTweakService(std::shared_ptr<PreferenceStore> prefs,
                                       std::function<void()> restartDock)
    : prefs_(std::move(prefs)), restartDock_(std::move(restartDock)) {}

bool SystemTweakService::isOn(const std::string& id, const Records& records) const {
    return records.contains(id);
}

TweakOutcome SystemTweakService::enable(const SystemTweak& tweak, Records& records) {
    if (records.contains(tweak.id)) {
        // The record keeps the first original; only the value is put back.
        prefs_->setValue(tweak.onValue, tweak.key, tweak.domain);
        prefs_->synchronize(tweak.domain);
        return TweakOutcome::unchanged;
    }
    const std::optional<PreferenceValue> current = prefs_->value(tweak.key, tweak.domain);
    if (current && current->kind() == PreferenceValue::Kind::unrepresentable) {
        return TweakOutcome::refusedUnrestorable;
    }
    prefs_->setValue(tweak.onValue, tweak.key, tweak.domain);
    prefs_->synchronize(tweak.domain);
    if (prefs_->value(tweak.key, tweak.domain) != tweak.onValue) return TweakOutcome::writeFailed;

    records.insert_or_assign(
        tweak.id, SystemTweakRecord{
                      tweak.domain, tweak.key,
                      current ? PreferenceOriginal::value(*current) : PreferenceOriginal::absent(),
                      tweak.onValue});
    if (tweak.effect == TweakEffect::dockRestart) restartDockIfSet();
    return TweakOutcome::changed;
}

TweakOutcome SystemTweakService::disable(const std::string& id, Records& records) {
    const auto found = records.find(id);
    if (found == records.end()) return TweakOutcome::unchanged;
    const TweakOutcome outcome = restore(found->second);
    if (outcome != TweakOutcome::changed) return outcome;

    const bool dock = isDockRecord(found->second);
    records.erase(found);
    if (dock) restartDockIfSet();
    return TweakOutcome::changed;
}

std::map<std::string, TweakOutcome> SystemTweakService::revertAll(Records& records) {
    std::map<std::string, TweakOutcome> outcomes;
    bool dockChanged = false;
    // The map is ordered by id, so this is the ascending order the restores must follow.
    for (auto it = records.begin(); it != records.end();) {
        const TweakOutcome outcome = restore(it->second);
        outcomes.emplace(it->first, outcome);
        if (outcome != TweakOutcome::changed) {
            ++it;
            continue;
        }
        dockChanged = dockChanged || isDockRecord(it->second);
        it = records.erase(it);
    }
    if (dockChanged) restartDockIfSet();
    return outcomes;
}

TweakOutcome SystemTweakService::restore(const SystemTweakRecord& record) {
    const std::optional<PreferenceValue> original = record.original.value();
    // An unrepresentable original cannot be written; it counts as restored only while the
    // key still holds something unrepresentable.
    if (!original || original->kind() != PreferenceValue::Kind::unrepresentable) {
        prefs_->setValue(original, record.key, record.domain);
    }
    prefs_->synchronize(record.domain);
    const std::optional<PreferenceValue> readBack = prefs_->value(record.key, record.domain);
    return holdsOriginal(readBack, record.original) ? TweakOutcome::changed
                                                    : TweakOutcome::writeFailed;
}

bool SystemTweakService::holdsOriginal(const std::optional<PreferenceValue>& readBack,
                                       const PreferenceOriginal& original) {
    return readBack == original.value();
}

bool SystemTweakService::isDockRecord(const SystemTweakRecord& record) {
    return record.domain == SystemTweakCatalog::dockDomain;
}

void SystemTweakService::restartDockIfSet() const {
    if (restartDock_) restartDock_();
}

}  // namespace kelvo
