#include "KelvoAX/Classification/WindowClassification.h"

#include "Base/Text/UnicodeText.h"

namespace kelvo {

namespace {

bool isStandard(const WindowTraits& traits) {
    return traits.subrole == WindowClassification::standardWindowSubrole;
}

bool isSmall(const CGSize& size) {
    return size.width < WindowClassification::minimumTiledLength ||
           size.height < WindowClassification::minimumTiledLength;
}

bool activationMayAct(const std::optional<std::string>& bundleID,
                      const std::optional<std::string>& ownBundleID, bool alreadyHandled,
                      const Config& config) {
    if (!bundleID) return false;
    if (ownBundleID && UnicodeText::canonicallyEquivalent(*ownBundleID, *bundleID)) return false;
    if (alreadyHandled) return false;
    return !config.effectiveIgnoreBundleIDs().contains(*bundleID);
}

}  // namespace

WindowRole classify(const WindowTraits& traits, const Config& config) {
    if (ignoreReason(traits, config)) return WindowRole::ignored;
    if (config.effectiveFloatBundleIDs().contains(traits.bundleID)) return WindowRole::floating;
    if (!traits.sizeSettable) return WindowRole::floating;
    if (isStandard(traits)) return WindowRole::tiled;
    if (isSmall(traits.size)) return WindowRole::floating;
    return WindowRole::tiled;
}

std::optional<IgnoreReason> ignoreReason(const WindowTraits& traits, const Config& config) {
    if (config.effectiveIgnoreBundleIDs().contains(traits.bundleID)) {
        return IgnoreReason::userPreference;
    }
    if (traits.fullScreen) return IgnoreReason::fullScreen;
    if (!traits.positionSettable) return IgnoreReason::unsettablePosition;
    return std::nullopt;
}

bool floatingMayBeEarly(const WindowTraits& traits, WindowRole role) {
    return role == WindowRole::floating && isStandard(traits) && !traits.sizeSettable;
}

std::optional<ManagedWindow> adoptionCandidate(WindowID id, const CGRect& frame,
                                               const WindowTraits& traits, const Config& config,
                                               bool minimized) {
    const WindowRole role = classify(traits, config);
    if (role == WindowRole::ignored) return std::nullopt;
    return ManagedWindow{id,        traits.bundleID,
                         frame,     role == WindowRole::floating,
                         minimized, floatingMayBeEarly(traits, role)};
}

bool shouldAdoptOnActivation(const std::optional<std::string>& bundleID,
                             const std::optional<std::string>& ownBundleID, bool alreadyManaged,
                             const Config& config) {
    return activationMayAct(bundleID, ownBundleID, alreadyManaged, config);
}

bool shouldSweepOnActivation(const std::optional<std::string>& bundleID,
                             const std::optional<std::string>& ownBundleID, bool managesAnyWindow,
                             const Config& config) {
    return activationMayAct(bundleID, ownBundleID, managesAnyWindow, config);
}

}  // namespace kelvo
