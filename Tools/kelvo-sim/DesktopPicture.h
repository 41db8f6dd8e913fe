#pragma once

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Simulator/ApplicationInfo.h"
#include "Simulator/DisplayInfo.h"
#include "Simulator/InterfaceElement.h"
#include "Simulator/TitleBarButtons.h"
#include "Simulator/WindowInfo.h"

typedef struct _cairo cairo_t;

namespace kelvo_sim {

/// A picture of the whole desktop for people to look at: the displays where they stand, each
/// with its menu bar, the windows back to front with a title bar naming their application and
/// title in a tint of their application's own, the clients' own windows (their panels) as
/// their content layer draws them, titled windows with rounded corners, a soft shadow and
/// their title bar's buttons, and the pointer; with a caption, a strip below the displays
/// that says what the picture shows.
class DesktopPicture {
  public:
    class Failure : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    struct Scene {
        std::vector<sim::DisplayInfo> displays;
        /// Front to back, as the desktop lists them.
        std::vector<sim::WindowInfo> windows;
        std::vector<sim::ApplicationInfo> applications;
        /// What each of the clients' own windows draws, by window number.
        std::map<sim::WindowNumber, sim::OwnWindowSpec> panels;
        /// The pixels the clients drew in their own windows, by window number; a window with
        /// pixels shows them instead of its content layer's description.
        std::map<sim::WindowNumber, sim::WindowPicture> pictures;
        /// In the first display's menu bar, right to left.
        std::vector<sim::StatusItemInfo> statusItems;
        CGPoint pointer;
        /// Written under the displays; none when empty.
        std::string caption;
    };

    /// A picture larger than this in either direction is scaled down to fit.
    static constexpr double maximumWidth = 2560;
    static constexpr double maximumHeight = 1600;
    /// An application window's title bar, as high as the desktop's title bar buttons need.
    static constexpr double titleBarHeight = sim::TitleBarButtons::titleBarHeight;
    /// Where an application window's name starts in its title bar, past its buttons.
    static constexpr double titleInset = 68;
    /// The corners of titled windows; panels keep the corners they draw themselves.
    static constexpr double windowCornerRadius = 10;
    /// The darkest a window's shadow gets, under its middle.
    static constexpr double shadowAlpha = 0.45;
    /// The caption's strip, in pixels of the picture whatever its scale.
    static constexpr double captionHeight = 44;

    /// Writes the picture as a PNG file (throws Failure).
    static void draw(const Scene& scene, const std::string& path);

    struct Colour {
        double red = 0, green = 0, blue = 0;
        bool operator==(const Colour&) const = default;
    };
    /// The hues of the tints, in degrees: greens through blues to violets, apart enough to tell
    /// applications apart and far from the coral of the focus border's default colour, which
    /// so stands out on every window.
    static constexpr std::array<double, 6> tintHues = {140, 170, 195, 220, 250, 280};
    /// The tint of an application: the same for the same application in every picture.
    static Colour tint(const sim::ApplicationInfo& application);

  private:
    static void drawDisplay(cairo_t* cr, const sim::DisplayInfo& display, bool menuBarDisplay,
                            const std::string& frontName);
    static void drawWindow(cairo_t* cr, const sim::WindowInfo& window,
                           const sim::ApplicationInfo& owner, bool key);
    static void drawPanel(cairo_t* cr, const sim::WindowInfo& window,
                          const sim::OwnWindowSpec& look);
    /// Draws the pixels over the frame (inside a titled window's corners, over its shadow,
    /// under its buttons); false when they cannot be unpacked.
    static bool drawPicture(cairo_t* cr, const sim::WindowPicture& picture, const CGRect& frame,
                            double alpha, const sim::OwnWindowSpec* look);
    static double cornerRadiusFor(const CGRect& frame, bool titled);
    static void drawStatusItem(cairo_t* cr, const sim::StatusItemInfo& item);
    static void drawPointer(cairo_t* cr, CGPoint at, double scale);
    static void drawCaption(cairo_t* cr, const std::string& caption, CGRect strip);
    static void text(cairo_t* cr, const std::string& text, const char* font, CGRect box,
                     bool centred);
};

}  // namespace kelvo_sim
