#include "KelvoCore/Store/FocusDwell.h"

#include "KelvoCore/Store/FocusFollowsCursor.h"

namespace kelvo {

void FocusDwell::pointerMoved(CGPoint point, const std::map<WindowID, CGRect>& windowFrames,
                              const std::set<WindowID>& onTop, std::optional<WindowID> focused,
                              const std::vector<CGRect>& deadZones, double delay) {
    using Kind = FocusFollowsCursor::Verdict::Kind;
    const FocusFollowsCursor::Verdict verdict =
        FocusFollowsCursor::verdict(point, windowFrames, onTop, focused, armed_, deadZones, delay);
    switch (verdict.kind()) {
        case Kind::ignore:
            cancel();
            break;
        case Kind::keepWaiting:
            // Moving within the armed window must not restart its dwell.
            break;
        case Kind::arm:
            arm(*verdict.window(), delay);
            break;
        case Kind::focus:
            ++generation_;
            focusNow(*verdict.window());
            break;
    }
}

void FocusDwell::cancel() {
    ++generation_;
    armed_.reset();
}

void FocusDwell::arm(WindowID target, double delay) {
    const int generation = ++generation_;
    armed_ = target;
    if (!schedule) {
        focusNow(target);
        return;
    }
    std::weak_ptr<FocusDwell*> weak = self_;
    schedule(delay, [weak, generation, target] {
        if (const std::shared_ptr<FocusDwell*> self = weak.lock())
            (*self)->fire(generation, target);
    });
}

void FocusDwell::fire(int generation, WindowID target) {
    if (generation != generation_ || armed_ != target) return;
    focusNow(target);
}

void FocusDwell::focusNow(WindowID target) {
    armed_.reset();
    if (onFocus) onFocus(target);
}

}  // namespace kelvo
