#include "KelvoApp/Views/Guide/GuideModel.h"

#include "Platform/Accessibility/AXUIElement.h"

namespace kelvo {

GuideModel::GuideModel(SettingsModel& settings) : settings_(settings) {
    const bool now = AXIsProcessTrusted();
    trusted_.set(now);
    wasTrusted_ = now;
}

GuideModel::~GuideModel() {
    *alive_ = false;
    stopWatching();
}

void GuideModel::setFlow(GuideFlow next) {
    if (next.step != flow_->step) sizingOwed = true;
    flow_.set(next);
}

void GuideModel::restart() {
    setFlow(GuideFlow(GuideStep::accessibility));
    publishTrusted(AXIsProcessTrusted());
    wasTrusted_ = trusted();
    sizingOwed = true;
}

void GuideModel::advance() {
    moveAndLeaveIfClosed(&GuideFlow::advance);
}

void GuideModel::skip() {
    moveAndLeaveIfClosed(&GuideFlow::skip);
}

void GuideModel::back() {
    GuideFlow next = flow();
    next.back();
    setFlow(next);
}

void GuideModel::moveAndLeaveIfClosed(void (GuideFlow::*move)()) {
    GuideFlow next = flow();
    (next.*move)();
    setFlow(next);
    if (!flow().isOpen && onLeave) onLeave();
}

void GuideModel::watch() {
    stopWatching();
    publishTrusted(AXIsProcessTrusted());
    wasTrusted_ = trusted();
    std::weak_ptr<bool> alive = alive_;
    poll_ = NSTimer::scheduledTimerWithTimeInterval(pollInterval, true, [this, alive](NSTimer&) {
        if (alive.lock()) tick();
    });
}

void GuideModel::stopWatching() {
    if (!poll_) return;
    poll_->invalidate();
    poll_.reset();
}

void GuideModel::tick() {
    publishTrusted(AXIsProcessTrusted());
    if (trusted() && !wasTrusted_) {
        GuideFlow next = flow();
        next.accessibilityGranted();
        setFlow(next);
    }
    wasTrusted_ = trusted();
}

void GuideModel::publishTrusted(bool now) {
    if (now != trusted()) trusted_.set(now);
}

}  // namespace kelvo
