#include "KelvoCore/Guide/GuideFlow.h"

namespace kelvo {

namespace {

GuideStep neighbour(GuideStep step, int offset) {
    return guide_step::allCases[static_cast<std::size_t>(number(step) - 1 + offset)];
}

}  // namespace

std::string GuideFlow::forwardTitle() const {
    return isLast() ? "Done" : "Continue";
}

void GuideFlow::moveForward(bool completing) {
    if (!isOpen) return;
    if (!isLast()) {
        step = neighbour(step, +1);
        return;
    }
    isOpen = false;
    if (completing) completed = true;
}

void GuideFlow::advance() {
    moveForward(true);
}

void GuideFlow::skip() {
    moveForward(false);
}

void GuideFlow::back() {
    if (!isOpen || isFirst()) return;
    step = neighbour(step, -1);
}

void GuideFlow::accessibilityGranted() {
    if (!isOpen || step != GuideStep::accessibility) return;
    step = GuideStep::desktops;
}

}  // namespace kelvo
