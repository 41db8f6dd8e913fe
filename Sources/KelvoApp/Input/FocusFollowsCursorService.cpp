#include "KelvoApp/Input/FocusFollowsCursorService.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchTime.h"
#include "KelvoApp/Input/HotkeyService.h"

namespace kelvo {

FocusFollowsCursorService::FocusFollowsCursorService(EventTaps& taps, double debounce,
                                                     std::function<void(CGPoint)> onMove,
                                                     std::function<bool()> isSuppressed,
                                                     std::function<void()> whileSuppressed)
    : debounce(debounce),
      onMove(std::move(onMove)),
      isSuppressed(std::move(isSuppressed)),
      whileSuppressed(std::move(whileSuppressed)),
      taps_(taps),
      context_(std::make_shared<FocusFollowsCursorService*>(this)) {}

FocusFollowsCursorService::~FocusFollowsCursorService() {
    stop();
}

void FocusFollowsCursorService::start() {
    std::weak_ptr<FocusFollowsCursorService*> context = context_;
    const auto made = taps_.create(EventTaps::maskOf(EventTaps::mouseMoved), true,
                                   [context](std::uint32_t type, const TapEvent& e) {
                                       const auto service = context.lock();
                                       if (!service) return std::optional<TapEvent>(e);
                                       return std::optional<TapEvent>((*service)->handle(type, e));
                                   });
    if (!made) throw HotkeyError();
    tap = *made;
    source = *made;
    taps_.addSource(*made);
    taps_.enable(*made, true);
}

void FocusFollowsCursorService::stop() {
    if (tap) taps_.enable(*tap, false);
    if (source) taps_.removeSource(*source);
    tap.reset();
    source.reset();
}

TapEvent FocusFollowsCursorService::handle(std::uint32_t type, const TapEvent& event) {
    if (type == EventTaps::tapDisabledByTimeout || type == EventTaps::tapDisabledByUserInput) {
        if (tap) taps_.enable(*tap, true);
        return event;
    }
    latestPoint = event.location;
    if (!resolveScheduled) {
        resolveScheduled = true;
        std::weak_ptr<FocusFollowsCursorService*> context = context_;
        DispatchQueue::main().asyncAfter(DispatchTime::now() + debounce, [context] {
            if (const auto service = context.lock()) (*service)->resolve();
        });
    }
    return event;
}

void FocusFollowsCursorService::resolve() {
    resolveScheduled = false;
    if (isSuppressed && isSuppressed()) {
        if (whileSuppressed) whileSuppressed();
    } else if (onMove) {
        onMove(latestPoint);
    }
}

}  // namespace kelvo
