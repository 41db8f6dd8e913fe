#include "KelvoApp/Services/Overlays/HUDBackdrop.h"

namespace kelvo {

std::shared_ptr<NSVisualEffectView> makeHUDBackdrop(const CGRect& frame, CGFloat cornerRadius) {
    auto backdrop = std::make_shared<NSVisualEffectView>(frame);
    backdrop->setMaterial(NSVisualEffectMaterial::hudWindow);
    backdrop->setBlendingMode(NSVisualEffectBlendingMode::behindWindow);
    backdrop->setState(NSVisualEffectState::active);
    backdrop->setWantsLayer(true);
    backdrop->layer()->setCornerRadius(cornerRadius);
    backdrop->layer()->setMasksToBounds(true);
    return backdrop;
}

}  // namespace kelvo
