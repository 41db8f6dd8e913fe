#include "KelvoAX/Bridge/ActivationRequest.h"

namespace kelvo {

void ActivationRequest::noteActivated(pid_t pid) {
    if (pid == requested_) {
        taken_ = true;
        return;
    }
    if (!chosen_ && isChoice(pid)) chosen_ = pid;
}

std::optional<pid_t> ActivationRequest::chosenInstead(std::optional<pid_t> frontNow) const {
    if (chosen_) return chosen_;
    if (frontNow && isChoice(*frontNow)) return frontNow;
    return std::nullopt;
}

bool ActivationRequest::isChoice(pid_t pid) const {
    return pid != requested_ && (pid != frontBefore_ || taken_);
}

}  // namespace kelvo
