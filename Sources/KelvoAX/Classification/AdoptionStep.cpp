#include "KelvoAX/Classification/AdoptionStep.h"

#include <span>

namespace kelvo {

namespace {

/// The delay at `attempt` while the list lasts; a negative attempt counts as the first.
std::optional<double> delayAt(std::span<const double> delays, int attempt) {
    const std::size_t index = attempt < 0 ? 0 : static_cast<std::size_t>(attempt);
    if (index < delays.size()) return delays[index];
    return std::nullopt;
}

}  // namespace

AdoptionStep adoptionStep(bool found, bool floating, int attempt, bool ignoredForNow,
                          bool mayBeEarly) {
    std::optional<double> delay;
    if (found && !floating) return AdoptionStep::adopt();
    if (found) {
        delay = mayBeEarly ? delayAt(AdoptionStep::earlyFloatSettleDelays, attempt)
                           : delayAt(AdoptionStep::floatSettleDelays, attempt);
        return delay ? AdoptionStep::retry(*delay) : AdoptionStep::adopt();
    }
    if (ignoredForNow) {
        delay = delayAt(AdoptionStep::floatSettleDelays, attempt);
    } else {
        const std::array<double, 1> absent = {AdoptionStep::absentRetryDelay};
        delay = delayAt(absent, attempt);
    }
    return delay ? AdoptionStep::retry(*delay) : AdoptionStep::giveUp();
}

}  // namespace kelvo
