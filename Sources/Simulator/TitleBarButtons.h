#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/WindowInfo.h"

namespace sim {

/// One of the three buttons at the top left of a titled window's title bar.
struct TitleBarButton {
    enum class Kind { close, minimize, zoom };

    Kind kind = Kind::close;
    /// The square the button's circle fills, on screen (top left, y down).
    CGRect frame;
    /// A button the window's style leaves out is drawn, greyed, and does nothing.
    bool enabled = true;
    bool operator==(const TitleBarButton&) const = default;

    /// Its identifier in the window's element tree: "close", "minimize" or "zoom".
    static std::string identifier(Kind kind);
    /// What assistive technology reads for it: "close button", …
    static std::string label(Kind kind);
};

/// Where the desktop puts a titled window's buttons, as the platform does: three circles in a
/// row, centred in a title bar along the window's top edge, close first. Hit-testing, the
/// element tree and pictures of the desktop all take them from here.
class TitleBarButtons {
  public:
    static constexpr double titleBarHeight = 28;
    static constexpr double diameter = 12;
    /// From one button's centre to the next one's.
    static constexpr double pitch = 20;
    /// From the window's left edge to the close button's centre.
    static constexpr double firstCentre = 14;

    /// Which of the buttons the window's style lets work.
    struct Style {
        bool closable = true;
        bool miniaturizable = true;
        bool zoomable = true;
        bool operator==(const Style&) const = default;
    };

    /// Close, minimize and zoom, in that order, for a window of that frame.
    static std::vector<TitleBarButton> of(const CGRect& frame, Style style);
    /// The button under the point, if any.
    static std::optional<TitleBarButton> at(const CGRect& frame, Style style, CGPoint point);

    /// A client's own window shows them when it is titled.
    static std::optional<Style> of(const OwnWindowSpec& look);
    /// An application's window shows them when it is a standard window (all three work), a
    /// dialog or a floating window (only close works); a window in full screen has no title
    /// bar.
    static std::optional<Style> of(const WindowInfo& window);
};

}  // namespace sim
