#include "KelvoApp/Coordinator/BorderTracking.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchTime.h"
#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Coordinator/WindowNames.h"
#include "KelvoApp/Input/FocusBorder.h"

namespace kelvo {

BorderTracking::BorderTracking(const ProcessLog& log, const WindowNames& names, StoreWiring& wiring,
                               const ConfigurationChanges& configuration, Callbacks callbacks)
    : log_(log),
      names_(names),
      wiring_(wiring),
      configuration_(configuration),
      callbacks_(std::move(callbacks)) {}

BorderTracking::~BorderTracking() = default;

void BorderTracking::make() {
    const Config& config = configuration_.config();
    border_ =
        std::make_unique<FocusBorder>(HexColor::parse(config.focusBorderColor),
                                      config.focusBorderOpacity, config.focusBorderCornerRadius);
}

void BorderTracking::hide() {
    if (border_) border_->hide();
}

void BorderTracking::update() {
    if (wiring_.store().isDragging()) return;
    const bool shows = configuration_.config().showFocusBorder;
    std::optional<CGRect> frame;
    const std::optional<std::string> reason = shows ? hiddenReason(frame) : std::nullopt;
    if (reason && reason != lastHiddenReason_) log_.log("  focus border hidden: " + *reason);
    lastHiddenReason_ = reason;
    if (reason || !shows) {
        hide();
        return;
    }
    border_->show(*frame);
}

std::optional<std::string> BorderTracking::hiddenReason(std::optional<CGRect>& frame) const {
    const WorkspaceStore& store = wiring_.store();
    const int active = store.activeDesktop();
    const auto focused = callbacks_.focused();
    if (configuration_.config().hideFocusBorderOnForeignFront && callbacks_.frontIsForeign()) {
        return "the front is an application Kelvo manages nothing of here";
    }
    if (!focused) return "nothing is focused";
    // A hidden application's window is not on screen, whichever application is in front.
    if (const auto bundle = names_.bundleOf(*focused); bundle && store.isHiddenByUser(*bundle)) {
        return names_.named(*focused) + " is hidden";
    }
    if (const auto d = store.desktop(*focused); !d || *d != active) {
        return names_.named(*focused) + " is on desktop " + (d ? std::to_string(*d) : "none") +
               ", not the visible " + std::to_string(active);
    }
    if (store.isFullScreen(*focused)) return names_.named(*focused) + " is full screen";
    frame = wiring_.bridge().frame(*focused);
    if (!frame) return names_.named(*focused) + " has no readable frame";
    return std::nullopt;
}

void BorderTracking::followMove(WindowID id) {
    if (!configuration_.config().showFocusBorder || callbacks_.focused() != id) return;
    hide();
    if (settle_) settle_->cancel();
    DispatchWorkItem settle(later_.weakly([this] { update(); }));
    settle_ = settle;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + settleDelay, settle);
}

void BorderTracking::showDragTarget(const std::optional<CGRect>& frame) {
    if (!configuration_.config().showFocusBorder) return;
    if (!frame) {
        hide();
        dragTargetShown_ = false;
        return;
    }
    border_->show(*frame);
    dragTargetShown_ = true;
}

void BorderTracking::dragStepped(WindowID w) {
    if (configuration_.config().showFocusBorder && callbacks_.focused() == w && !dragTargetShown_) {
        hide();
    }
}

void BorderTracking::restyle(const Config& config) {
    border_->setAppearance(HexColor::parse(config.focusBorderColor), config.focusBorderOpacity,
                           config.focusBorderCornerRadius);
}

long BorderTracking::windowNumber() const {
    return border_ ? border_->windowNumber() : 0L;
}

bool BorderTracking::isShown() const {
    return border_ && border_->isShown();
}

}  // namespace kelvo
