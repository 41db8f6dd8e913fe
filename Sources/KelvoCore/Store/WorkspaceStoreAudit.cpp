// The visibility audit: after a switch has settled, every window that should be visible on the
// active desktop is looked at once, and what keeps one from being seen is named and, where the
// store can, repaired.

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

std::vector<VisibilityFinding> WorkspaceStore::auditActiveDesktop() {
    state_.auditPending = false;
    const std::map<WindowID, CGRect> visible = visibleLayout();
    const std::vector<WindowID> intent = shownIntent(activeDesktop());
    if (intent.empty()) return {};

    AuditPass pass;
    pass.retained = bridge_->retainedWindows();
    std::vector<VisibilityFinding> findings;
    bool repairedForLayout = false;
    for (WindowID w : intent) {
        const std::string bundle = bundleOf(w).value_or("?");
        const WindowVisibility seen = visibilityOf(w, bundle, visible, pass);
        // A window of another display is judged against that display, not the managed screen.
        const std::optional<InvisibleReason> reason =
            VisibilityAudit::reason(seen, bounds(displayOf(w)), reconciler_.tolerance());
        if (!reason) continue;
        const VisibilityRepair repair = repairInvisible(w, bundle, *reason, pass);
        repairedForLayout = repairedForLayout || repair == VisibilityRepair::unminimized ||
                            repair == VisibilityRepair::unhidden ||
                            repair == VisibilityRepair::rearmed ||
                            repair == VisibilityRepair::recentred;
        findings.push_back(VisibilityFinding{w, bundle, *reason, repair, activeDesktop()});
        fire(hooks.onVisibilityFinding, findings.back());
    }
    if (repairedForLayout) applyLayout();
    return findings;
}

WindowVisibility WorkspaceStore::visibilityOf(WindowID w, const std::string& bundle,
                                              const std::map<WindowID, CGRect>& visible,
                                              AuditPass& pass) {
    WindowVisibility seen;
    if (auto known = pass.hidden.find(bundle); known != pass.hidden.end()) {
        seen.applicationReportsHidden = known->second;
    } else {
        seen.applicationReportsHidden = pass.hidden[bundle] = bridge_->isApplicationHidden(bundle);
    }
    seen.reachable = bridge_->canReach(w);
    if (seen.reachable) {
        seen.reportsMinimized = bridge_->isWindowMinimized(w);
        seen.frame = bridge_->frame(w);
    }
    seen.isUnmanageable = reconciler_.unmanageable().count(w) > 0 && !isFloating(w);
    seen.absentFromWindowList = pass.retained.count(w) > 0;
    if (auto intended = visible.find(w); intended != visible.end()) {
        seen.intendedFrame = intended->second;
    }
    return seen;
}

VisibilityRepair WorkspaceStore::repairInvisible(WindowID w, const std::string& bundle,
                                                 InvisibleReason reason, AuditPass& pass) {
    switch (reason) {
        case InvisibleReason::minimized:
            bringOutOfDock(w);
            return VisibilityRepair::unminimized;
        case InvisibleReason::applicationHidden:
            bridge_->setHidden(false, bundle);
            pass.hidden[bundle] = false;
            return VisibilityRepair::unhidden;
        case InvisibleReason::offScreen:
            return rearm(w);
        case InvisibleReason::absentFromWindowList:
            return VisibilityRepair::raisedOnReveal;
        case InvisibleReason::unreachable:
        case InvisibleReason::unmanageable:
        case InvisibleReason::frameDisagrees:
            break;
    }
    return VisibilityRepair::none;
}

VisibilityRepair WorkspaceStore::rearm(WindowID w) {
    // Out of the park bookkeeping altogether, so that no later park retry sends it back.
    if (WindowState* record = stateOf(w)) record->parked.reset();
    reconciler_.forget(w);
    if (!isFloating(w)) return VisibilityRepair::rearmed;
    if (auto frame = bridge_->frame(w)) {
        const CGRect area = bounds(displayOf(w));
        bridge_->setFrame(
            CGRect(area.midX() - frame->width() / 2, area.midY() - frame->height() / 2,
                   frame->width(), frame->height()),
            w);
    }
    return VisibilityRepair::recentred;
}

}  // namespace kelvo
