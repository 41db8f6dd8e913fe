#include "KelvoCore/Store/WindowState.h"

namespace kelvo {

bool WindowState::parkRefused() const {
    return parked && parked->landing == Park::Landing::refused;
}

bool WindowState::minimizedToPark() const {
    return parked && parked->landing == Park::Landing::minimized;
}

bool WindowState::reparkedOnce() const {
    return parked && parked->reparkedOnce;
}

void WindowState::exemptForBurst() {
    if (exemption == Exemption::none) exemption = Exemption::exempt;
}

void WindowState::exemptAfresh() {
    exemption = Exemption::exempt;
}

void WindowState::clearSpentExemption() {
    if (exemption == Exemption::spent) exemption = Exemption::none;
}

void WindowState::endBurst(bool unsettled) {
    if (exemption != Exemption::exempt) return;
    exemption = unsettled ? Exemption::spent : Exemption::none;
}

}  // namespace kelvo
