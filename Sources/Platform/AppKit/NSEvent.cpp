#include "Platform/AppKit/NSEvent.h"

#include <algorithm>
#include <vector>

#include "Platform/AppKit/NSWindow.h"
#include "Simulator/KeyboardLayout.h"
#include "Simulator/SharedConnection.h"

namespace {

struct Monitor {
    NSEventMask mask = 0;
    NSEvent::LocalMonitor handler;
};

/// The local monitors, in the order they were added (main thread only).
std::vector<std::shared_ptr<Monitor>>& monitors() {
    static std::vector<std::shared_ptr<Monitor>> list;
    return list;
}

double firstScreenHeight() {
    const auto displays = sim::SharedConnection::current()->displays();
    return displays.empty() ? 0 : displays.front().frame.height();
}

}  // namespace

NSEvent::NSEvent(const sim::InputEvent& event, NSWindow* window) : event_(event), window_(window) {}

std::string NSEvent::characters() const {
    if (!event_.characters.empty()) return event_.characters;
    return sim::KeyboardLayout::characters(event_.keyCode, event_.flags);
}

std::string NSEvent::charactersIgnoringModifiers() const {
    const std::string typed = characters();
    // Text that came on no key of the layout (key code 0 with other text) is its own.
    if (sim::KeyboardLayout::characters(event_.keyCode, event_.flags) != typed) return typed;
    return sim::KeyboardLayout::characters(event_.keyCode, event_.flags & NSEventModifierFlagShift);
}

CGPoint NSEvent::locationInWindow() const {
    const CGPoint screen{event_.location.x, firstScreenHeight() - event_.location.y};
    if (!window_) return screen;
    const CGRect frame = window_->frame();
    return CGPoint{screen.x - frame.minX(), screen.y - frame.minY()};
}

unsigned long NSEvent::pressedMouseButtons() {
    return sim::SharedConnection::current()->pressedMouseButtons();
}

CGPoint NSEvent::mouseLocation() {
    const auto connection = sim::SharedConnection::current();
    const CGPoint pointer = connection->pointerLocation();
    return CGPoint{pointer.x, firstScreenHeight() - pointer.y};
}

NSEventModifierFlags NSEvent::currentModifierFlags() {
    return sim::SharedConnection::current()->modifierFlags();
}

std::shared_ptr<void> NSEvent::addLocalMonitorForEventsMatchingMask(NSEventMask mask,
                                                                    LocalMonitor handler) {
    auto monitor = std::make_shared<Monitor>(Monitor{mask, std::move(handler)});
    monitors().push_back(monitor);
    return monitor;
}

void NSEvent::removeMonitor(const std::shared_ptr<void>& monitor) {
    std::erase_if(monitors(), [&](const auto& entry) { return entry.get() == monitor.get(); });
}

NSEventRef NSEvent::runLocalMonitors(NSEventRef event) {
    // A handler may add or remove monitors: it runs over the list as it was.
    const auto current = monitors();
    for (const auto& monitor : current) {
        if (!event) break;
        const auto type = static_cast<std::uint32_t>(event->type());
        const bool wanted = type < 64 && (monitor->mask & (NSEventMask{1} << type)) != 0;
        const bool present =
            std::find(monitors().begin(), monitors().end(), monitor) != monitors().end();
        if (wanted && present && monitor->handler) event = monitor->handler(event);
    }
    return event;
}
