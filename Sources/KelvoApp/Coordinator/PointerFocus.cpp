#include "KelvoApp/Coordinator/PointerFocus.h"

#include <map>
#include <set>

#include "KelvoApp/Coordinator/ConfigurationChanges.h"
#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Coordinator/StoreWiring.h"
#include "KelvoApp/Input/FocusFollowsCursorService.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoCore/Store/FocusDwell.h"

namespace kelvo {

PointerFocus::PointerFocus(const CoordinatorProcess& process, const ProcessLog& log,
                           StoreWiring& wiring, const ConfigurationChanges& configuration,
                           Callbacks callbacks)
    : process_(process),
      log_(log),
      wiring_(wiring),
      configuration_(configuration),
      callbacks_(std::move(callbacks)) {}

PointerFocus::~PointerFocus() = default;

void PointerFocus::prepare() {
    dwell_ = std::make_unique<FocusDwell>();
    dwell_->schedule = [this](double delay, std::function<void()> work) {
        later_.after(delay, std::move(work));
    };
    dwell_->onFocus = [this](WindowID w) { dwellFocus(w); };
}

void PointerFocus::start() {
    if (service_) return;
    auto service = std::make_unique<FocusFollowsCursorService>(
        *process_.taps, pointerDebounce, [this](CGPoint p) { pointerMoved(p); },
        [this] { return pointerSuppressed(); }, [this] { dwell_->cancel(); });
    try {
        service->start();
    } catch (const HotkeyError& error) {
        log_.log(std::string("focus-follows-cursor: could not start its mouse tap (") +
                 error.what() + ")");
        return;
    }
    service_ = std::move(service);
}

void PointerFocus::stop() {
    if (service_) service_->stop();
    service_.reset();
    dwell_->cancel();
}

void PointerFocus::release() {
    service_.reset();
}

void PointerFocus::dwellFocus(WindowID w) {
    const auto focused = callbacks_.focused();
    if (focused && wiring_.store().isFullScreen(*focused)) return;
    callbacks_.claimFocus(w, false);
}

bool PointerFocus::pointerSuppressed() const {
    if (callbacks_.ownWindowHasKeyboard()) return true;
    const auto focused = callbacks_.focused();
    return focused && wiring_.store().isFloating(*focused);
}

void PointerFocus::pointerMoved(CGPoint point) {
    const WorkspaceStore& store = wiring_.store();
    const int active = store.activeDesktop();
    std::map<WindowID, CGRect> frames = store.layout(active);
    std::set<WindowID> onTop;
    for (const auto& [w, frame] : store.floatingFrames(active)) {
        frames[w] = frame;
        onTop.insert(w);
    }
    dwell_->pointerMoved(
        point, frames, onTop, callbacks_.focused(), wiring_.menuBarDeadZones(),
        static_cast<double>(configuration_.config().focusFollowsCursorDelay) / 1000);
}

}  // namespace kelvo
