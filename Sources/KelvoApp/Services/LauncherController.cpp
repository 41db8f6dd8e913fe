#include "KelvoApp/Services/LauncherController.h"

#include <utility>

namespace kelvo {

LauncherController::LauncherController(Callbacks callbacks,
                                       std::function<std::optional<RunningApplication>()> frontmost)
    : callbacks_(std::move(callbacks)), frontmost_(std::move(frontmost)) {}

void LauncherController::show() {
    log.note("show()");
    previousApp = frontmost_ ? frontmost_() : std::nullopt;
    model.reset();
    panel.orderFront();
    panel.key = true;
}

std::optional<RunningApplication> LauncherController::dismiss() {
    if (panel.visible) {
        panel.orderOut();
        model.reset();
    }
    return std::exchange(previousApp, std::nullopt);
}

}  // namespace kelvo
