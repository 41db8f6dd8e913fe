#pragma once

#include <optional>
#include <set>
#include <string>

#include "KelvoApp/Services/Overlays/DesktopModel.h"
#include "KelvoCore/MenuBar/MenuBarLayout.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/AppKit/NSImage.h"

namespace kelvo {

/// Draws the status item's row into the current graphics context (flipped, top-down): the
/// focused application's name, the layout-mode mark and the desktop tiles. The image is a
/// template image, so every colour is black and only its alpha counts.
class MenuBarRow {
  public:
    /// The model's values at one moment; drawing works only from a snapshot.
    struct Snapshot {
        int active = 1;
        std::set<int> occupied;
        int count = 9;
        std::optional<std::string> focusedApp;
        bool showName = false;
        LayoutMode layoutMode = LayoutMode::masterStack;
        std::optional<int> flashing;
        bool operator==(const Snapshot&) const = default;

        static Snapshot of(const DesktopModel& model);
    };

    static constexpr CGFloat nameFontSize = 12;
    static constexpr CGFloat nameAlpha = 0.88;
    static constexpr CGFloat numberFontSize = 11;
    /// How much of the active tile's number is cleared out of the tile.
    static constexpr CGFloat cutOutAlpha = 0.8;
    static constexpr CGFloat tileRadius = 3;
    static constexpr CGFloat dotSide = 3;
    static constexpr CGFloat dotRadius = 1;
    static constexpr CGFloat dotAlpha = 0.35;
    static constexpr CGFloat markRadius = 1;
    static constexpr CGFloat markMainAlpha = 0.95;
    static constexpr CGFloat markPaneAlpha = 0.55;

    /// The template image of the model as it is now.
    static NSImageRef image(const DesktopModel& model);
    static NSImageRef image(const Snapshot& snapshot);
    static void draw(const Snapshot& snapshot, const MenuBarLayout::Frames& frames);
    static void drawName(const std::string& name, const CGRect& band);
    static void drawMode(LayoutMode mode, const CGRect& box);
    /// The filled tile with its number cut out.
    static void drawActive(int desktop, const CGRect& tile);

    /// The system font of 12 points, made once.
    static const NSFontRef& nameFont();
    /// The system font at the size and weight, in its rounded design where there is one.
    static NSFontRef roundedFont(CGFloat size, NSFontWeight weight);

  private:
    static void drawOccupied(int desktop, const CGRect& tile);
    static void drawDot(const CGRect& tile);
    /// The number in the font, centred on the tile, in black at the alpha.
    static void drawNumber(int desktop, const CGRect& tile, NSFontWeight weight, CGFloat alpha);
    static void fillRoundedRect(const CGRect& rect, CGFloat radius, CGFloat alpha);
};

}  // namespace kelvo
