#include <algorithm>
#include <cmath>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// Each edge rounded to a whole point once, halves away from zero.
CGRect roundedEdges(const CGRect& r) {
    const double x0 = std::round(r.minX()), y0 = std::round(r.minY());
    const double x1 = std::round(r.maxX()), y1 = std::round(r.maxY());
    return CGRect(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

// ---- Requests --------------------------------------------------------------------------------

void WorkspaceStore::applyLayout() {
    state_.retryBudget = maxLayoutRetries;
    if (!schedulers.coalesce) {
        runLayoutPass({});
        return;
    }
    if (state_.layoutScheduled) return;
    state_.layoutScheduled = true;
    schedulers.coalesce(weakly([this] {
        state_.layoutScheduled = false;
        runLayoutPass({});
    }));
}

void WorkspaceStore::applyLayoutNow() {
    state_.retryBudget = maxLayoutRetries;
    runLayoutPass({});
}

void WorkspaceStore::applyLayoutForCommand(std::optional<WindowID> target, bool now) {
    if (target) reconciler_.resetAttempts(*target);
    // The burst of writes a command causes does not count refusals against these windows.
    for (WindowID w : tiled(activeDesktop()))
        stateOf(w)->exemptForBurst();
    if (now) {
        applyLayoutNow();
    } else {
        applyLayout();
    }
}

// ---- Wanted frames ---------------------------------------------------------------------------

std::map<WindowID, CGSize> WorkspaceStore::paneMinimums() const {
    const Gaps& gaps = state_.config.gaps;
    const double pad = 2 * std::max(gaps.inner * 0.5, gaps.outer);
    if (pad <= 0) return reconciler_.clampedSizes();
    std::map<WindowID, CGSize> minimums;
    for (const auto& [w, size] : reconciler_.clampedSizes()) {
        minimums[w] =
            CGSize{size.width > 0 ? size.width + pad : 0, size.height > 0 ? size.height + pad : 0};
    }
    return minimums;
}

std::map<WindowID, CGRect> WorkspaceStore::layout(int desktop, const Display& display) const {
    if (isShowingDesktop(desktop)) return {};
    if (auto z = zoomed(desktop)) {
        if (displayOf(*z) == display.id) return {{*z, display.frame}};
    }
    auto it = state_.trees.find(Pane{desktop, display.id});
    if (it == state_.trees.end() || it->second.isEmpty()) return {};
    const auto rects = it->second.rects(display.frame, paneMinimums());
    auto gapped = state_.config.gaps.apply(rects, display.frame);
    for (auto& [w, r] : gapped)
        r = roundedEdges(r);
    return gapped;
}

std::vector<Display> WorkspaceStore::layoutDisplays() const {
    const std::uint32_t managed = managedDisplayID();
    if (state_.displays.empty()) return {Display(managed, state_.screen)};
    std::vector<Display> displays = state_.displays;
    for (Display& d : displays) {
        if (d.id == managed) d.frame = state_.screen;
    }
    return displays;
}

std::map<WindowID, CGRect> WorkspaceStore::layout(int desktop) const {
    if (isShowingDesktop(desktop)) return {};
    if (auto z = zoomed(desktop)) return {{*z, bounds(displayOf(*z))}};
    std::map<WindowID, CGRect> frames;
    for (const Display& display : layoutDisplays())
        frames.merge(layout(desktop, display));
    return frames;
}

std::map<WindowID, CGRect> WorkspaceStore::visibleLayout() const {
    std::map<WindowID, CGRect> frames;
    for (const Display& display : layoutDisplays()) {
        frames.merge(layout(activeDesktop(display.id), display));
    }
    return frames;
}

// ---- The pass --------------------------------------------------------------------------------

void WorkspaceStore::dropMinimizedFromTarget(std::map<WindowID, CGRect>& target,
                                             const std::set<WindowID>& justRead) {
    for (auto it = target.begin(); it != target.end();) {
        const WindowID w = it->first;
        if (!is(w, &WindowState::inTheDock)) {
            ++it;
        } else if (justRead.count(w) || bridge_->isWindowMinimized(w)) {
            it = target.erase(it);
        } else {
            // Restored from the Dock without an event: write it again, exempt for this burst.
            restoredFromDock(w);
            ++it;
        }
    }
}

void WorkspaceStore::runLayoutPass(const std::set<WindowID>& justRead) {
    unhideExternallyHiddenApps();
    std::map<WindowID, CGRect> target = visibleLayout();
    dropMinimizedFromTarget(target, justRead);

    std::set<WindowID> retry =
        reconciler_.apply(target, state_.windowsWhere(&WindowState::burstExempt));
    int writes = reconciler_.writesInLastPass();
    const std::set<WindowID> abandoned = reconciler_.abandonedInLastPass();
    putMinimizedInTheDock();

    std::map<WindowID, CGRect> previous = target;
    bool reapplied = false;
    if (!reconciler_.clampedInLastPass().empty()) {
        reapplyForMinimums(target, retry, writes, previous, reapplied);
    }

    fire(hooks.onLayoutPass, writes, static_cast<int>(retry.size()));
    if (writes == 0) reportQuietPass(reapplied ? previous.size() : target.size());
    if (!abandoned.empty()) giveUp(abandoned);

    if (!retry.empty() && state_.retryBudget > 0 && schedulers.scheduleRetry) {
        state_.retryBudget -= 1;
        schedulers.scheduleRetry(weakly([this] { runLayoutPass({}); }));
        return;
    }
    settleExemptions(retry);
    if (state_.auditPending) auditActiveDesktop();
}

void WorkspaceStore::reapplyForMinimums(const std::map<WindowID, CGRect>& target,
                                        std::set<WindowID>& retry, int& writes,
                                        std::map<WindowID, CGRect>& previous, bool& reapplied) {
    previous = target;
    int rounds = 0;
    do {
        if (floatForMinimum(activeDesktop())) {
            std::erase_if(retry, [this](WindowID w) { return isFloating(w); });
        }
        if (rounds == maxMinimumRounds) {
            applyLayout();
            break;
        }
        ++rounds;
        reapplied = true;
        std::map<WindowID, CGRect> next = visibleLayout();
        std::erase_if(
            next, [this](const auto& entry) { return is(entry.first, &WindowState::inTheDock); });
        std::map<WindowID, CGRect> changed;
        std::set<WindowID> changedIDs;
        for (const auto& [w, r] : next) {
            auto before = previous.find(w);
            if (before == previous.end() || !reconciler_.approximatelyEqual(before->second, r)) {
                changed[w] = r;
                changedIDs.insert(w);
            }
        }
        previous = next;
        if (changed.empty()) break;
        // Writes made inside the pass never strike.
        retry.merge(reconciler_.apply(changed, changedIDs));
        writes += reconciler_.writesInLastPass();
        putMinimizedInTheDock();
    } while (!reconciler_.clampedInLastPass().empty());

    // Keep only what is still off its wanted position now.
    std::erase_if(retry, [this, &previous](WindowID w) {
        auto want = previous.find(w);
        if (want == previous.end()) return true;
        auto frame = bridge_->frame(w);
        if (!frame) return false;
        const double tolerance = reconciler_.tolerance();
        const bool offPosition = std::fabs(frame->minX() - want->second.minX()) > tolerance ||
                                 std::fabs(frame->minY() - want->second.minY()) > tolerance;
        return !offPosition;
    });
}

void WorkspaceStore::reportQuietPass(std::size_t wanted) {
    std::vector<Reconciler::Skip> skipped = reconciler_.skippedInLastPass();
    std::stable_sort(skipped.begin(), skipped.end(),
                     [](const auto& a, const auto& b) { return a.id < b.id; });
    for (const auto& skip : skipped)
        fire(hooks.onLayoutSkip, skip.id, skip.want, skip.have);
    fire(hooks.onQuietPass, static_cast<int>(wanted), spacedIDs(reconciler_.unreadableInLastPass()),
         spacedIDs(reconciler_.abandonedSkipInLastPass()));
}

void WorkspaceStore::putMinimizedInTheDock() {
    for (WindowID w : reconciler_.minimizedInLastPass()) {
        if (WindowState* record = stateOf(w)) record->inTheDock = true;
    }
}

void WorkspaceStore::settleExemptions(const std::set<WindowID>& retry) {
    for (auto& [w, record] : state_.windows)
        record.endBurst(retry.count(w) > 0);
}

// ---- Windows that cannot be tiled ------------------------------------------------------------

bool WorkspaceStore::floatForMinimum(int desktop) {
    const Pane pane{desktop, managedDisplayID()};
    auto it = state_.trees.find(pane);
    if (zoomed(desktop) || isShowingDesktop(desktop) || tiled(desktop).size() < 2 ||
        it == state_.trees.end()) {
        return false;
    }
    std::map<WindowID, CGSize> minimums = paneMinimums();
    std::erase_if(minimums, [this](const auto& entry) { return isFloating(entry.first); });
    const double tolerance = reconciler_.tolerance();
    const auto eligible = [this](WindowID w) { return !is(w, &WindowState::tiledByHand); };
    const std::vector<WindowID> toFloat =
        it->second.windowsToFloat(minimums, state_.screen, tolerance, eligible);
    if (toFloat.empty()) return false;

    const LayoutTree grid = LayoutTree::grid(it->second.windows(), state_.screen);
    if (grid.windowsToFloat(minimums, state_.screen, tolerance, [](WindowID) { return true; })
            .empty()) {
        it->second = grid;
        fire(hooks.onRearrangedForMinimum, desktop);
        return true;
    }
    for (WindowID w : toFloat) {
        if (this->desktop(w) != desktop || isFloating(w)) continue;
        floatAndCentre(w);
        auto floor = reconciler_.clampedSizes().find(w);
        fire(hooks.onFloatedForMinimum, w,
             floor == reconciler_.clampedSizes().end() ? CGSize{} : floor->second);
        stashUntileable(w, desktop);
    }
    return true;
}

void WorkspaceStore::floatAndCentre(WindowID w) {
    const int home = *desktop(w);
    if (zoomed(home) == w) endZoom(home);
    stateOf(w)->floating = true;
    removeFromTree(w, home);
    if (auto frame = bridge_->frame(w)) bridge_->setFrame(centredOnScreen(frame->size), w);
}

void WorkspaceStore::giveUp(const std::set<WindowID>& abandoned) {
    for (WindowID w : abandoned) {
        auto home = desktop(w);
        if (!home || isFloating(w)) continue;
        if (bridge_->isWindowFullScreen(w)) {
            enterFullScreen(w, *home);
            continue;
        }
        floatAndCentre(w);
        // The report names the desktop the stash is about to take the window to, so that the
        // give-up is told before the move it causes, and the move's own reports follow it.
        fire(hooks.onGaveUp, w, bundleOf(w), stashDesktopFor(*home));
        stashUntileable(w, *home);
    }
    applyLayout();
}

}  // namespace kelvo
