#include "KelvoApp/System/QuartzEventTaps.h"

#include "Platform/Quartz/CGEvent.h"

namespace kelvo {

QuartzEventTaps::~QuartzEventTaps() {
    for (auto& [tap, made] : taps_) {
        CGEventTapEnable(made.port, false);
        CFRunLoopRemoveSource(CFRunLoopGetMain(), made.source, kCFRunLoopCommonModes);
        CFMachPortInvalidate(made.port);
    }
}

CGEventRef QuartzEventTaps::handle(CGEventTapProxy, CGEventType type, CGEventRef event,
                                   void* context) {
    if (!context) return event;
    const auto& callback = *static_cast<const Callback*>(context);
    TapEvent seen;
    if (event) {
        seen.flags = CGEventGetFlags(event);
        seen.keyCode = CGEventGetIntegerValueField(event, kCGKeyboardEventKeycode);
        seen.location = CGEventGetLocation(event);
    }
    return callback(type, seen) ? event : nullptr;
}

std::optional<EventTaps::Tap> QuartzEventTaps::create(std::uint64_t mask, bool listenOnly,
                                                      Callback callback) {
    auto held = std::make_unique<Callback>(std::move(callback));
    const CFMachPortRef port =
        CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap,
                         listenOnly ? kCGEventTapOptionListenOnly : kCGEventTapOptionDefault, mask,
                         &handle, held.get());
    if (!port) return std::nullopt;
    const CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    if (!source) {
        CFMachPortInvalidate(port);
        return std::nullopt;
    }
    // Not enabled until its owner installs it.
    CGEventTapEnable(port, false);
    const Tap tap = next_++;
    taps_[tap] = Made{port, source, std::move(held)};
    return tap;
}

void QuartzEventTaps::enable(Tap tap, bool enabled) {
    if (const auto found = taps_.find(tap); found != taps_.end()) {
        CGEventTapEnable(found->second.port, enabled);
    }
}

void QuartzEventTaps::addSource(Tap tap) {
    if (const auto found = taps_.find(tap); found != taps_.end()) {
        CFRunLoopAddSource(CFRunLoopGetMain(), found->second.source, kCFRunLoopCommonModes);
    }
}

void QuartzEventTaps::removeSource(Tap tap) {
    const auto found = taps_.find(tap);
    if (found == taps_.end()) return;
    CFRunLoopRemoveSource(CFRunLoopGetMain(), found->second.source, kCFRunLoopCommonModes);
    CFMachPortInvalidate(found->second.port);
    taps_.erase(found);
}

}  // namespace kelvo
