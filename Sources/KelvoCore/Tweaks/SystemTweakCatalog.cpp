#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

#include <algorithm>

namespace kelvo {

namespace {

std::vector<SystemTweak> makeCatalog() {
    using C = SystemTweakCatalog;
    return {
        {"windowAnimations", "No window animations",
         "Applications stop animating windows open, closed and into place.", std::nullopt,
         C::globalDomain, "NSAutomaticWindowAnimationsEnabled", PreferenceValue::bool_(false),
         TweakEffect::appRestart},
        // 0.001 on purpose, not 0.
        {"windowResizeTime", "Instant window resizing",
         "Windows take their new size at once instead of gliding into it.", std::nullopt,
         C::globalDomain, "NSWindowResizeTime", PreferenceValue::number(0.001),
         TweakEffect::appRestart},
        {"pressAndHold", "Key repeat instead of accents",
         "Holding a key repeats it rather than offering accented characters.",
         "You lose the hold-to-accent picker, so é and ü have to be typed another way.",
         C::globalDomain, "ApplePressAndHoldEnabled", PreferenceValue::bool_(false),
         TweakEffect::appRestart},
        {"dockAutohideDelay", "No Dock reveal delay",
         "A hidden Dock appears the moment the pointer reaches the edge. Kelvo restarts the Dock "
         "for you.",
         "With windows tiled to the screen edge, the Dock will appear whenever the pointer "
         "reaches that edge, with nothing to pause against.",
         C::dockDomain, "autohide-delay", PreferenceValue::number(0), TweakEffect::dockRestart},
        {"dockAutohideTime", "Instant Dock hide and show",
         "Removes the Dock's slide animation. Kelvo restarts the Dock for you.", std::nullopt,
         C::dockDomain, "autohide-time-modifier", PreferenceValue::number(0),
         TweakEffect::dockRestart},
    };
}

}  // namespace

const std::vector<SystemTweak>& SystemTweakCatalog::all() {
    static const std::vector<SystemTweak> tweaks = makeCatalog();
    return tweaks;
}

std::optional<SystemTweak> SystemTweakCatalog::tweak(const std::string& id) {
    const auto& tweaks = all();
    const auto found = std::find_if(tweaks.begin(), tweaks.end(),
                                    [&](const SystemTweak& t) { return t.id == id; });
    if (found == tweaks.end()) return std::nullopt;
    return *found;
}

}  // namespace kelvo
