#include "KelvoApp/Coordinator/Coordinator.h"
#include "KelvoApp/System/AXWindowEvents.h"

// The coordinator's side of the event source: which handler takes which case.

namespace kelvo {

AXWindowEvents::AXWindowEvents(Coordinator& coordinator)
    : AXWindowEvents([&coordinator](const WindowEvent& event) { deliver(coordinator, event); }) {}

void AXWindowEvents::deliver(Coordinator& coordinator, const WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    const WindowID window = event.window().value_or(WindowID());
    switch (event.kind()) {
        case Kind::created: {
            std::optional<WindowElementRef> element;
            if (event.element()) element = WindowElementRef(event.element()->element);
            coordinator.eventCreated(window, event.bundleID(), element);
            break;
        }
        case Kind::destroyed:
            coordinator.eventDestroyed(window);
            break;
        case Kind::focused:
            coordinator.eventFocused(window);
            break;
        case Kind::moved:
        case Kind::resized:
            coordinator.eventMoved(window);
            break;
        case Kind::activated:
            coordinator.eventActivated(event.window(), event.bundleID());
            break;
        case Kind::minimized:
            coordinator.eventMinimized(window);
            break;
        case Kind::unminimized:
            coordinator.eventUnminimized(window);
            break;
        case Kind::terminated:
            coordinator.eventTerminated(event.bundleID());
            break;
    }
}

}  // namespace kelvo
