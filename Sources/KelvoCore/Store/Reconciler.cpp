#include "KelvoCore/Store/Reconciler.h"

#include <algorithm>
#include <cmath>

namespace kelvo {

namespace {

CGSize sizeOf(const CGRect& rect) {
    return CGSize{rect.width(), rect.height()};
}

}  // namespace

Reconciler::Reconciler(WindowBridging& bridge) : bridge_(bridge) {}

std::set<WindowID> Reconciler::apply(const std::map<WindowID, CGRect>& planned,
                                     const std::set<WindowID>& exempt) {
    clearLastPass();
    std::set<WindowID> retry;
    for (const auto& [id, want] : planned) {
        reconcile(id, want, exempt, retry);
    }
    return retry;
}

void Reconciler::clearLastPass() {
    skippedInLastPass_.clear();
    unreadableInLastPass_.clear();
    abandonedSkipInLastPass_.clear();
    abandonedInLastPass_.clear();
    minimizedInLastPass_.clear();
    clampedInLastPass_.clear();
    writesInLastPass_ = 0;
}

void Reconciler::reconcile(WindowID id, const CGRect& want, const std::set<WindowID>& exempt,
                           std::set<WindowID>& retry) {
    if (unmanageable_.contains(id)) {
        abandonedSkipInLastPass_.insert(id);
        return;
    }
    const std::optional<CGRect> before = bridge_.frame(id);
    if (!before) {
        // Nothing was tried, so nothing failed: no strike.
        unreadableInLastPass_.insert(id);
        retry.insert(id);
        return;
    }
    if (inPlace(id, *before, want)) {
        skip(id, want, *before);
        return;
    }
    bridge_.setFrame(want, id);
    ++writesInLastPass_;
    record(id, want);

    const std::optional<CGRect> after = bridge_.frame(id);
    if (!after) {
        fail(id, exempt, retry);
        return;
    }
    // A minimized window takes its frame but shows nothing; the store keeps it out of layout.
    if (approximatelyEqual(*after, want) && bridge_.isWindowMinimized(id)) {
        minimizedInLastPass_.insert(id);
        return;
    }
    record(id, *after);
    learnFloor(id, want, *before, *after);
    switch (judge(id, want, *before, *after)) {
        case Judgement::settled:
            attempts_[id] = 0;
            break;
        case Judgement::retry:
            retry.insert(id);
            break;
        case Judgement::failure:
            fail(id, exempt, retry);
            break;
    }
}

bool Reconciler::inPlace(WindowID id, const CGRect& have, const CGRect& want) const {
    if (approximatelyEqual(have, want)) return true;
    const std::optional<CGSize> floor = floorOf(id);
    return inPosition(have, want) && floor && sits(sizeOf(have), *floor, sizeOf(want));
}

void Reconciler::skip(WindowID id, const CGRect& want, const CGRect& have) {
    skippedInLastPass_.push_back(Skip{id, want, have});
    attempts_[id] = 0;
    if (approximatelyEqual(have, want)) {
        ledger_[id] = {want};
    } else {
        ledger_[id] = {want, have};
    }
}

void Reconciler::learnFloor(WindowID id, const CGRect& want, const CGRect& before,
                            const CGRect& after) {
    const bool unmoved = approximatelyEqual(after, before);
    const CGSize floor = floorOf(id).value_or(CGSize{});
    const auto seen = unmovedOvershoot_.find(id);
    const CGSize overshoot = seen == unmovedOvershoot_.end() ? CGSize{} : seen->second;

    const Lesson width =
        lesson(after.width(), want.width(), before.width(), floor.width, overshoot.width, unmoved);
    const Lesson height = lesson(after.height(), want.height(), before.height(), floor.height,
                                 overshoot.height, unmoved);

    if (width.overshoot > 0 || height.overshoot > 0) {
        unmovedOvershoot_[id] = CGSize{width.overshoot, height.overshoot};
    } else {
        unmovedOvershoot_.erase(id);
    }

    const CGSize learned{width.floor, height.floor};
    if (learned.width == 0 && learned.height == 0) {
        clampedSizes_.erase(id);
        return;
    }
    if (learned == floor) return;
    clampedSizes_[id] = learned;
    if (learned.width > floor.width + tolerance_ || learned.height > floor.height + tolerance_) {
        clampedInLastPass_.insert(id);
    }
}

Reconciler::Lesson Reconciler::lesson(CGFloat got, CGFloat asked, CGFloat before, CGFloat floor,
                                      CGFloat overshoot, bool unmoved) const {
    const bool larger = got > asked + tolerance_;
    const bool resized = !near(got, before);
    // Growing while the frame moved is proof of a floor; keeping a size while moving is only a
    // hint, until the same size is kept again.
    const bool provenFloor = larger && resized && !unmoved;
    const bool seenTwice = larger && overshoot > 0 && near(got, overshoot);
    if (provenFloor || seenTwice) return Lesson{got, 0};

    Lesson lesson;
    lesson.floor = floor > 0 && got >= floor - tolerance_ ? floor : 0;
    lesson.overshoot = larger && !resized && !unmoved ? got : 0;
    return lesson;
}

Reconciler::Judgement Reconciler::judge(WindowID id, const CGRect& want, const CGRect& before,
                                        const CGRect& after) const {
    const bool larger =
        after.width() > want.width() + tolerance_ || after.height() > want.height() + tolerance_;
    const bool unmoved = approximatelyEqual(after, before);
    const std::optional<CGSize> floor = floorOf(id);
    const bool atFloor = floor && sits(sizeOf(after), *floor, sizeOf(want));
    const bool positioned = inPosition(after, want);
    if (positioned) return Judgement::settled;
    // A window larger than asked may only need its neighbours to make room; that is no refusal.
    if (larger && (!unmoved || atFloor)) return Judgement::retry;
    return Judgement::failure;
}

void Reconciler::fail(WindowID id, const std::set<WindowID>& exempt, std::set<WindowID>& retry) {
    if (exempt.contains(id)) {
        retry.insert(id);
        return;
    }
    int& strikes = attempts_[id];
    strikes += 1;
    if (strikes < maxAttempts_) {
        retry.insert(id);
        return;
    }
    unmanageable_.insert(id);
    abandonedInLastPass_.insert(id);
}

void Reconciler::record(WindowID id, const CGRect& frame) {
    std::vector<CGRect>& frames = ledger_[id];
    std::erase_if(frames, [&](const CGRect& old) { return approximatelyEqual(old, frame); });
    frames.push_back(frame);
    if (frames.size() > ledgerCapacity) {
        frames.erase(frames.begin(), frames.end() - ledgerCapacity);
    }
}

bool Reconciler::approximatelyEqual(const CGRect& a, const CGRect& b) const {
    return near(a.minX(), b.minX()) && near(a.minY(), b.minY()) && near(a.width(), b.width()) &&
           near(a.height(), b.height());
}

bool Reconciler::sits(const CGSize& size, const CGSize& floor, const CGSize& asked) const {
    const auto passes = [&](CGFloat s, CGFloat f, CGFloat a) {
        if (f > 0) return near(s, f) && a <= f + tolerance_;
        return near(s, a);
    };
    return passes(size.width, floor.width, asked.width) &&
           passes(size.height, floor.height, asked.height);
}

std::optional<CGRect> Reconciler::settledFrame(WindowID id) const {
    const auto found = ledger_.find(id);
    if (found == ledger_.end() || found->second.empty()) return std::nullopt;
    return found->second.back();
}

bool Reconciler::placed(const CGRect& frame, WindowID id) const {
    const auto found = ledger_.find(id);
    if (found == ledger_.end()) return false;
    return std::any_of(found->second.begin(), found->second.end(),
                       [&](const CGRect& entry) { return approximatelyEqual(entry, frame); });
}

void Reconciler::forget(WindowID id) {
    unmanageable_.erase(id);
    attempts_[id] = 0;
    ledger_.erase(id);
    clampedSizes_.erase(id);
    unmovedOvershoot_.erase(id);
}

void Reconciler::resetAttempts(WindowID id) {
    attempts_[id] = 0;
}

bool Reconciler::inPosition(const CGRect& frame, const CGRect& want) const {
    return near(frame.minX(), want.minX()) && near(frame.minY(), want.minY());
}

bool Reconciler::near(CGFloat a, CGFloat b) const {
    return std::fabs(a - b) <= tolerance_;
}

std::optional<CGSize> Reconciler::floorOf(WindowID id) const {
    const auto found = clampedSizes_.find(id);
    if (found == clampedSizes_.end()) return std::nullopt;
    return found->second;
}

}  // namespace kelvo
