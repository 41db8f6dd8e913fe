#include "KelvoAX/Events/WindowEvent.h"

#include <array>
#include <utility>

namespace kelvo {

WindowEvent::WindowEvent(Kind kind, std::optional<WindowID> window,
                         std::optional<std::string> bundleID, std::optional<WindowElement> element)
    : kind_(kind), window_(window), bundleID_(std::move(bundleID)), element_(std::move(element)) {}

WindowEvent WindowEvent::created(WindowID window, std::optional<std::string> ownerBundleID,
                                 std::optional<WindowElement> element) {
    return WindowEvent(Kind::created, window, std::move(ownerBundleID), std::move(element));
}

WindowEvent WindowEvent::destroyed(WindowID window) {
    return WindowEvent(Kind::destroyed, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::focused(WindowID window) {
    return WindowEvent(Kind::focused, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::moved(WindowID window) {
    return WindowEvent(Kind::moved, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::resized(WindowID window) {
    return WindowEvent(Kind::resized, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::activated(std::optional<WindowID> window,
                                   std::optional<std::string> bundleID) {
    return WindowEvent(Kind::activated, window, std::move(bundleID), std::nullopt);
}

WindowEvent WindowEvent::minimized(WindowID window) {
    return WindowEvent(Kind::minimized, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::unminimized(WindowID window) {
    return WindowEvent(Kind::unminimized, window, std::nullopt, std::nullopt);
}

WindowEvent WindowEvent::terminated(std::optional<std::string> bundleID) {
    return WindowEvent(Kind::terminated, std::nullopt, std::move(bundleID), std::nullopt);
}

std::string WindowEvent::description() const {
    static constexpr std::array<const char*, 9> names = {
        "created",   "destroyed", "focused",     "moved",      "resized",
        "activated", "minimized", "unminimized", "terminated",
    };
    std::string text = names[static_cast<std::size_t>(kind_)];
    if (kind_ != Kind::terminated) text += " " + (window_ ? window_->description() : "-");
    if (kind_ == Kind::created || kind_ == Kind::activated || kind_ == Kind::terminated) {
        text += " " + bundleID_.value_or("-");
    }
    if (kind_ == Kind::created) text += element_ ? " element" : " no-element";
    return text;
}

}  // namespace kelvo
