#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/System/AXWindowEvents.h"

// The coordinator's side of the event source: which part's handler takes which case.

namespace kelvo {

AXWindowEvents::AXWindowEvents(Coordinator& coordinator)
    : AXWindowEvents([&coordinator](const WindowEvent& event) { deliver(coordinator, event); }) {}

void AXWindowEvents::deliver(Coordinator& coordinator, const WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    const WindowID window = event.window().value_or(WindowID());
    WindowEvents& events = coordinator.windowEvents;
    switch (event.kind()) {
        case Kind::created: {
            std::optional<WindowElementRef> element;
            if (event.element()) element = WindowElementRef(event.element()->element);
            events.eventCreated(window, event.bundleID(), element);
            break;
        }
        case Kind::destroyed:
            events.eventDestroyed(window);
            break;
        case Kind::focused:
            coordinator.focus.eventFocused(window);
            break;
        case Kind::moved:
        case Kind::resized:
            events.eventMoved(window);
            break;
        case Kind::activated:
            coordinator.focus.eventActivated(event.window(), event.bundleID());
            break;
        case Kind::minimized:
            events.eventMinimized(window);
            break;
        case Kind::unminimized:
            events.eventUnminimized(window);
            break;
        case Kind::terminated:
            events.eventTerminated(event.bundleID());
            break;
    }
}

}  // namespace kelvo
