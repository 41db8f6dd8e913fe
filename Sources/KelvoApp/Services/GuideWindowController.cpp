#include "KelvoApp/Services/GuideWindowController.h"

namespace kelvo {

void GuideWindowController::show() {
    log.note("show()");
    if (!window) window = OwnPanel{};
    if (anchor) {
        if (const auto frame = anchor()) window->frame = *frame;
    }
    window->orderFront();
    window->key = true;
}

void GuideWindowController::close() {
    if (window) window->orderOut();
    if (onClose) onClose();
}

}  // namespace kelvo
