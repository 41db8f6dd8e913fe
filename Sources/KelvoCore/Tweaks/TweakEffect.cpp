#include "KelvoCore/Tweaks/TweakEffect.h"

namespace kelvo {

std::string rawValue(TweakEffect effect) {
    switch (effect) {
        case TweakEffect::now:
            return "now";
        case TweakEffect::appRestart:
            return "appRestart";
        case TweakEffect::dockRestart:
            return "dockRestart";
        case TweakEffect::logout:
            break;
    }
    return "logout";
}

std::string badge(TweakEffect effect) {
    switch (effect) {
        case TweakEffect::now:
            return "now";
        case TweakEffect::appRestart:
            return "on app restart";
        case TweakEffect::dockRestart:
            return "on Dock restart";
        case TweakEffect::logout:
            break;
    }
    return "on logout";
}

std::optional<TweakEffect> tweakEffectFromRawValue(const std::string& raw) {
    return caseWithRawValue<TweakEffect>(tweak_effect::allCases, raw,
                                         [](TweakEffect e) { return rawValue(e); });
}

JSONValue JSONCoding<TweakEffect>::encode(TweakEffect effect) {
    return rawValue(effect);
}

TweakEffect JSONCoding<TweakEffect>::decode(const JSONNode& node) {
    return decodeRawValue<TweakEffect>(node, tweakEffectFromRawValue, "TweakEffect");
}

}  // namespace kelvo
