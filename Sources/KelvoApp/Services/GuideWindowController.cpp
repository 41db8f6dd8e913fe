#include "KelvoApp/Services/GuideWindowController.h"

#include "KelvoApp/Input/AppPresence.h"

namespace kelvo {

void GuideWindowController::show() {
    log.note("show()");
    if (!window) window = OwnPanel{};
    if (!window->visible && presence) presence->windowOpened();
    if (anchor) {
        if (const auto frame = anchor()) window->frame = *frame;
    }
    window->orderFront();
    window->key = true;
}

void GuideWindowController::close() {
    if (window && window->visible && presence) presence->windowClosed();
    if (window) window->orderOut();
    if (onClose) onClose();
}

void GuideWindowController::orderOut() {
    if (window) window->orderOut();
}

void GuideWindowController::orderFront() {
    if (window) window->orderFront();
}

}  // namespace kelvo
