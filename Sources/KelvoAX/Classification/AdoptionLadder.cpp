#include "KelvoAX/Classification/AdoptionLadder.h"

namespace kelvo {

std::optional<std::int64_t> AdoptionLadder::begin(WindowID window) {
    if (running.contains(window)) return std::nullopt;
    issued += 1;
    running[window] = issued;
    return issued;
}

bool AdoptionLadder::isRunning(WindowID window, std::int64_t generation) const {
    const auto found = running.find(window);
    return found != running.end() && found->second == generation;
}

void AdoptionLadder::finish(WindowID window, std::int64_t generation) {
    if (isRunning(window, generation)) running.erase(window);
}

void AdoptionLadder::cancel(WindowID window) {
    running.erase(window);
}

}  // namespace kelvo
