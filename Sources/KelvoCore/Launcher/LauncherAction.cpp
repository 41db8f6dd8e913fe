#include "KelvoCore/Launcher/LauncherAction.h"

namespace kelvo {

std::optional<int> LauncherAction::desktop() const {
    if (kind_ != Kind::goTo) return std::nullopt;
    return desktop_;
}

std::optional<WindowID> LauncherAction::window() const {
    return window_;
}

}  // namespace kelvo
