#include "Simulator/TitleBarButtons.h"

namespace sim {

std::string TitleBarButton::identifier(Kind kind) {
    switch (kind) {
        case Kind::close:
            return "close";
        case Kind::minimize:
            return "minimize";
        case Kind::zoom:
            return "zoom";
    }
    return {};
}

std::string TitleBarButton::label(Kind kind) {
    return identifier(kind) + " button";
}

std::vector<TitleBarButton> TitleBarButtons::of(const CGRect& window, Style style) {
    const CGRect frame = window.standardized();
    const double top = frame.minY() + (titleBarHeight - diameter) / 2;
    const auto button = [&](TitleBarButton::Kind kind, int place, bool enabled) {
        const double centre = frame.minX() + firstCentre + place * pitch;
        return TitleBarButton{kind, CGRect(centre - diameter / 2, top, diameter, diameter),
                              enabled};
    };
    return {button(TitleBarButton::Kind::close, 0, style.closable),
            button(TitleBarButton::Kind::minimize, 1, style.miniaturizable),
            button(TitleBarButton::Kind::zoom, 2, style.zoomable)};
}

std::optional<TitleBarButton> TitleBarButtons::at(const CGRect& frame, Style style, CGPoint point) {
    for (const TitleBarButton& button : of(frame, style))
        if (button.frame.contains(point)) return button;
    return std::nullopt;
}

std::optional<TitleBarButtons::Style> TitleBarButtons::of(const OwnWindowSpec& look) {
    if (!look.titled) return std::nullopt;
    return Style{look.closable, look.miniaturizable, look.resizable};
}

std::optional<TitleBarButtons::Style> TitleBarButtons::of(const WindowInfo& window) {
    if (window.role != "AXWindow" || window.fullScreen) return std::nullopt;
    if (window.subrole == "AXStandardWindow") return Style{};
    if (window.subrole == "AXDialog" || window.subrole == "AXFloatingWindow")
        return Style{true, false, false};
    return std::nullopt;
}

}  // namespace sim
