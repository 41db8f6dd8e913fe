#include "KelvoApp/Services/LauncherController.h"

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

}  // namespace kelvo
