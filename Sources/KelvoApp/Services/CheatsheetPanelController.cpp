#include "KelvoApp/Services/CheatsheetPanelController.h"

namespace kelvo {

void CheatsheetPanelController::toggle() {
    log.note("toggle()");
    if (panel.visible) {
        panel.orderOut();
        return;
    }
    shown_ = sections_ ? sections_() : std::vector<KeyReference::Section>{};
    panel.orderFront();
}

}  // namespace kelvo
