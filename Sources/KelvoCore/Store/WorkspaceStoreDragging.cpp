// Dragging and external frame changes.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "KelvoCore/Store/WorkspaceStore.h"

namespace kelvo {

namespace {

/// Moved with its size kept, as a window is carried by its title bar.
bool isCarry(const CGRect& before, const CGRect& now) {
    const bool sizeKept =
        std::fabs(now.width() - before.width()) <= WorkspaceStore::carrySizeTolerance &&
        std::fabs(now.height() - before.height()) <= WorkspaceStore::carrySizeTolerance;
    const bool travelled = std::fabs(now.minX() - before.minX()) > WorkspaceStore::carryTravel ||
                           std::fabs(now.minY() - before.minY()) > WorkspaceStore::carryTravel;
    return sizeKept && travelled;
}

/// One axis of a dragged frame against its slot: the frame's edges, the slot's raw edges and
/// its gapped edges.
struct AxisEdges {
    CGFloat frameMin, frameMax;
    CGFloat rawMin, rawMax;
    CGFloat gappedMin, gappedMax;
};

/// The divider a pulled edge asks for: on the trailing side (right, down) or the leading one,
/// at the coordinate where the edge plus its gap puts it. None when the edges moved alike, or
/// neither held still, or neither moved far enough.
std::optional<std::pair<bool, CGFloat>> pulledEdge(const AxisEdges& e) {
    const CGFloat leading = e.frameMin - e.gappedMin;
    const CGFloat trailing = e.frameMax - e.gappedMax;
    const CGFloat still = std::min(std::fabs(leading), std::fabs(trailing));
    const CGFloat pulled = std::max(std::fabs(leading), std::fabs(trailing));
    if (!(std::fabs(leading - trailing) > WorkspaceStore::edgeTravel &&
          still <= WorkspaceStore::edgeStillness && pulled > WorkspaceStore::edgeTravel)) {
        return std::nullopt;
    }
    if (std::fabs(leading) <= std::fabs(trailing)) {
        return std::pair{true, e.frameMax + (e.rawMax - e.gappedMax)};
    }
    return std::pair{false, e.frameMin - (e.gappedMin - e.rawMin)};
}

/// One value of the rectangle text: cut to an integer where it is one, spelt out otherwise.
std::string truncated(CGFloat value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    const CGFloat whole = std::trunc(value);
    // The range of a 64-bit integer, both bounds exact in a double.
    if (whole >= -0x1p63 && whole < 0x1p63) {
        return std::to_string(static_cast<long long>(whole));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", whole);
    return text;
}

/// A desktop's wanted frames with the gaps laid over them once more: the slots a drag is
/// measured against.
std::map<WindowID, CGRect> dragSlots(const WorkspaceStore& store, int desktop) {
    return store.config().gaps.apply(store.layout(desktop), store.screen());
}

}  // namespace

// ---- Entry -----------------------------------------------------------------------------------

void WorkspaceStore::windowFrameChanged(WindowID w) {
    if (isFullScreen(w)) {
        fullScreenChanged(w, bridge_->frame(w));
        return;
    }
    if (is(w, &WindowState::settlingFromFullScreen) && settleFromFullScreen(w)) return;
    if (isParked(w)) {
        healPark(w);
        return;
    }
    if (!canDrag(w)) return;
    WindowState& record = *stateOf(w);
    if (queries.isMouseButtonDown && !queries.isMouseButtonDown() && !record.dragging) {
        record.externalUnread = true;
        queueDragStep(state_.externalCheckScheduled, &WorkspaceStore::checkExternalFrames);
        return;
    }
    record.dragging = true;
    record.liveUnread = true;
    state_.dragGeneration += 1;
    queueDragStep(state_.dragStepScheduled, &WorkspaceStore::liveDragStep);
    scheduleSettle(state_.dragGeneration);
}

void WorkspaceStore::queueDragStep(bool& queued, void (WorkspaceStore::*step)()) {
    if (!schedulers.coalesceDragStep) {
        (this->*step)();
        return;
    }
    if (queued) return;
    queued = true;
    schedulers.coalesceDragStep(weakly([this, &queued, step] {
        queued = false;
        (this->*step)();
    }));
}

void WorkspaceStore::scheduleSettle(int generation) {
    if (!schedulers.scheduleDragSettle) {
        settleDrag();
        return;
    }
    schedulers.scheduleDragSettle(weakly([this, generation] {
        // A newer frame event has its own timer.
        if (generation != state_.dragGeneration) return;
        if (isMouseButtonHeld()) {
            scheduleSettle(generation);
        } else {
            settleDrag();
        }
    }));
}

bool WorkspaceStore::isMouseButtonHeld() const {
    return queries.isMouseButtonDown && queries.isMouseButtonDown();
}

std::set<WindowID> WorkspaceStore::takeWindows(bool WindowState::*flag) {
    std::set<WindowID> taken;
    for (auto& [w, record] : state_.windows) {
        if (std::exchange(record.*flag, false)) taken.insert(taken.end(), w);
    }
    return taken;
}

// ---- Which frames count ----------------------------------------------------------------------

bool WorkspaceStore::canDrag(WindowID w) const {
    const auto home = desktop(w);
    if (!home || *home != activeDesktop()) return false;
    if (isFloating(w) || isParked(w) || is(w, &WindowState::inTheDock)) return false;
    if (zoomed(*home) || isShowingDesktop(*home)) return false;
    const auto tree = state_.trees.find(*paneKey(w));
    return tree != state_.trees.end() && isLeafOf(tree->second, w);
}

std::optional<CGRect> WorkspaceStore::draggedFrame(WindowID w) {
    if (!canDrag(w)) return std::nullopt;
    const auto frame = bridge_->frame(w);
    // Frames the reconciler wrote itself are never mistaken for the user's.
    if (!frame || !reconciler_.settledFrame(w) || reconciler_.placed(*frame, w)) {
        return std::nullopt;
    }
    return frame;
}

bool WorkspaceStore::isLeafOf(const LayoutTree& tree, WindowID w) {
    const std::vector<WindowID> leaves = tree.windows();
    return std::find(leaves.begin(), leaves.end(), w) != leaves.end();
}

bool WorkspaceStore::isPlausibleFrame(const CGRect& frame) {
    for (CGFloat v : {frame.origin.x, frame.origin.y, frame.size.width, frame.size.height}) {
        if (!std::isfinite(v) || std::fabs(v) > largestPlausibleCoordinate) return false;
    }
    return true;
}

bool WorkspaceStore::liesOnADisplay(const CGRect& frame) const {
    if (state_.displays.empty()) {
        const CGRect overlap = frame.intersection(state_.screen);
        return !overlap.isNull() && !overlap.isEmpty();
    }
    return holding(state_.displays, frame).has_value();
}

std::optional<CGRect> WorkspaceStore::frameBeforeDrag(WindowID w) const {
    if (!desktop(w) || isFloating(w)) return std::nullopt;
    if (auto settled = reconciler_.settledFrame(w)) return settled;
    const auto slots = dragSlots(*this, *desktop(w));
    auto slot = slots.find(w);
    if (slot == slots.end()) return std::nullopt;
    return slot->second;
}

std::optional<std::pair<WindowID, CGRect>> WorkspaceStore::dropTarget(WindowID w,
                                                                      const CGRect& frame) const {
    if (!desktop(w) || isFloating(w)) return std::nullopt;
    CGPoint drop{frame.midX(), frame.midY()};
    if (queries.pointerLocation) {
        if (auto pointer = queries.pointerLocation()) drop = *pointer;
    }
    // Ascending, so that over overlapping slots the lower window number wins.
    for (const auto& [other, slot] : dragSlots(*this, *desktop(w))) {
        if (other == w || isFloating(other)) continue;
        if (slot.contains(drop)) return std::pair{other, slot};
    }
    return std::nullopt;
}

// ---- What a drag changes ---------------------------------------------------------------------

bool WorkspaceStore::moveDividers(WindowID w, const CGRect& frame) {
    if (!isPlausibleFrame(frame)) return false;
    const auto pane = paneKey(w);
    if (!pane) return false;
    auto stored = state_.trees.find(*pane);
    if (stored == state_.trees.end()) return false;
    // The pane's own display: dividers are fractions of the rectangle the pane is laid out in.
    const CGRect area = bounds(pane->display);
    const auto minimums = paneMinimums();
    const auto raw = stored->second.rects(area, minimums);
    auto r = raw.find(w);
    if (r == raw.end()) return false;
    const CGRect g = state_.config.gaps.apply(raw, area).at(w);

    LayoutTree tree = stored->second;
    bool moved = false;
    const AxisEdges horizontal{frame.minX(),     frame.maxX(), r->second.minX(),
                               r->second.maxX(), g.minX(),     g.maxX()};
    if (auto pull = pulledEdge(horizontal)) {
        const Direction side = pull->first ? Direction::right : Direction::left;
        moved |= tree.moveDivider(w, side, pull->second, area, minimums);
    }
    const AxisEdges vertical{frame.minY(),     frame.maxY(), r->second.minY(),
                             r->second.maxY(), g.minY(),     g.maxY()};
    if (auto pull = pulledEdge(vertical)) {
        const Direction side = pull->first ? Direction::down : Direction::up;
        moved |= tree.moveDivider(w, side, pull->second, area, minimums);
    }
    if (!moved) return false;
    stored->second = tree;
    return true;
}

bool WorkspaceStore::rearrange(WindowID w, const CGRect& droppedAt) {
    if (!desktop(w)) return false;
    const auto target = dropTarget(w, droppedAt);
    if (!target) return false;
    auto stored = state_.trees.find(*paneKey(w));
    if (stored == state_.trees.end()) return false;
    // A slot of the same desktop on another display belongs to another tree: nothing to swap.
    if (!isLeafOf(stored->second, w) || !isLeafOf(stored->second, target->first)) return false;
    stored->second.swap(w, target->first);
    fire(hooks.onRearranged, w, target->first);
    return true;
}

// ---- Live step -------------------------------------------------------------------------------

void WorkspaceStore::liveDragStep() {
    const std::set<WindowID> unread = takeWindows(&WindowState::liveUnread);
    std::set<WindowID> held;
    bool dividerMoved = false;
    for (WindowID w : unread) {
        const auto frame = draggedFrame(w);
        if (!frame) continue;
        // Garbage and frames off every display say nothing about the layout.
        if (!isPlausibleFrame(*frame) || !liesOnADisplay(*frame)) continue;
        // Above the display's top or taller than it: full screen on its way, not a drag.
        if (couldBeFullScreen(*frame)) continue;
        held.insert(w);
        fire(hooks.onDragStep, w, *frame);
        const auto before = frameBeforeDrag(w);
        if (before && isCarry(*before, *frame)) {
            if (auto target = dropTarget(w, *frame)) {
                state_.hasDragTarget = true;
                fire(hooks.onDragTarget, std::optional(target->first),
                     std::optional(target->second));
            } else {
                hideDropTarget();
            }
        } else if (moveDividers(w, *frame)) {
            stateOf(w)->liveMoved = true;
            dividerMoved = true;
        }
    }
    if (!dividerMoved) return;
    // The neighbours follow the dragged edge while the user still holds it.
    std::map<WindowID, CGRect> followers = visibleLayout();
    std::erase_if(followers, [&](const auto& entry) {
        return held.count(entry.first) > 0 || is(entry.first, &WindowState::inTheDock);
    });
    std::set<WindowID> exempt;
    for (const auto& [w, rect] : followers)
        exempt.insert(w);
    reconciler_.apply(followers, exempt);
}

void WorkspaceStore::hideDropTarget() {
    if (!state_.hasDragTarget) return;
    state_.hasDragTarget = false;
    fire(hooks.onDragTarget, std::optional<WindowID>(), std::optional<CGRect>());
}

// ---- Settle ----------------------------------------------------------------------------------

void WorkspaceStore::settleDrag() {
    const std::set<WindowID> dragged = takeWindows(&WindowState::dragging);
    hideDropTarget();
    takeWindows(&WindowState::liveUnread);

    std::optional<WindowID> target;
    bool strayed = false;
    for (WindowID w : dragged) {
        const auto frame = draggedFrame(w);
        if (!frame) continue;
        if (!isPlausibleFrame(*frame) || !liesOnADisplay(*frame)) {
            // Dropped where no display shows it: the window keeps its place in the layout.
            reportUnresolved(w, frameBeforeDrag(w), *frame);
            strayed = true;
            continue;
        }
        if (fullScreenChanged(w, *frame)) continue;
        if (settleDraggedWindow(w, *frame)) target = w;
    }

    const std::set<WindowID> liveMoved = takeWindows(&WindowState::liveMoved);
    if (!target) {
        for (auto it = liveMoved.rbegin(); it != liveMoved.rend(); ++it) {
            if (canDrag(*it)) {
                target = *it;
                break;
            }
        }
    }
    if (!target) {
        // Only a window dropped off every display is put back at once; others wait for the
        // next pass, where they were dropped.
        if (strayed) applyLayout();
        return;
    }
    fire(hooks.onDividerDragged, *target);
    applyLayoutForCommand(*target, /*now=*/true);
}

bool WorkspaceStore::settleDraggedWindow(WindowID w, const CGRect& frame) {
    const int home = *desktop(w);
    if (state_.displays.size() >= 2) {
        if (auto over = displayHolding(frame); over && *over != displayOf(w)) {
            moveToDisplay(w, *over, home);
            return true;
        }
    }
    const auto before = frameBeforeDrag(w);
    const bool carried = before && isCarry(*before, frame);
    if (carried ? rearrange(w, frame) : moveDividers(w, frame)) return true;
    // A pull whose divider already followed it live is resolved: nothing is left to move.
    if (carried || !is(w, &WindowState::liveMoved)) reportUnresolved(w, before, frame);
    return false;
}

void WorkspaceStore::reportUnresolved(WindowID w, const std::optional<CGRect>& before,
                                      const CGRect& frame) {
    if (!before) return;
    if (isCarry(*before, frame)) {
        fire(hooks.onDragUnresolved, w,
             "carried to " + brief(frame) + ", which is over no other tiled pane — put back");
    } else {
        fire(hooks.onDragUnresolved, w,
             "no edge travelled far enough to move a divider, and it did not travel far enough "
             "to be a carry: was " +
                 brief(*before) + ", now " + brief(frame));
    }
}

std::string WorkspaceStore::brief(const CGRect& rect) {
    return "(" + truncated(rect.minX()) + "," + truncated(rect.minY()) + " " +
           truncated(rect.width()) + "x" + truncated(rect.height()) + ")";
}

// ---- External changes ------------------------------------------------------------------------

void WorkspaceStore::checkExternalFrames() {
    const std::set<WindowID> unread = takeWindows(&WindowState::externalUnread);
    bool changed = false;
    for (WindowID w : unread) {
        if (!canDrag(w)) continue;
        const auto frame = bridge_->frame(w);
        if (!frame) continue;
        if (!isPlausibleFrame(*frame)) {
            // Nothing worth reporting, but the window goes back into its slot all the same.
            changed = changed || reconciler_.settledFrame(w).has_value();
            continue;
        }
        if (fullScreenChanged(w, *frame)) continue;
        if (!reconciler_.settledFrame(w) || reconciler_.placed(*frame, w)) continue;
        fire(hooks.onExternalFrameChange, w, *frame);
        changed = true;
    }
    if (changed) applyLayout();
}

}  // namespace kelvo
