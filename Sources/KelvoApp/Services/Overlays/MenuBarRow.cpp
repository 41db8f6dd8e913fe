#include "KelvoApp/Services/Overlays/MenuBarRow.h"

#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/NSGraphicsContext.h"

namespace kelvo {

MenuBarRow::Snapshot MenuBarRow::Snapshot::of(const DesktopModel& model) {
    return {model.active,   model.occupied,   model.count,   model.focusedApp,
            model.showName, model.layoutMode, model.flashing};
}

NSImageRef MenuBarRow::image(const DesktopModel& model) {
    return image(Snapshot::of(model));
}

NSImageRef MenuBarRow::image(const Snapshot& snapshot) {
    const MenuBarLayout::Frames frames = MenuBarLayout::frames(snapshot.count, snapshot.showName);
    auto made = std::make_shared<NSImage>(CGSize{frames.width, MenuBarLayout::rowHeight}, true,
                                          [snapshot, frames](const CGRect&) {
                                              draw(snapshot, frames);
                                              return true;
                                          });
    made->setTemplate(true);
    return made;
}

void MenuBarRow::draw(const Snapshot& snapshot, const MenuBarLayout::Frames& frames) {
    if (frames.name && snapshot.focusedApp) drawName(*snapshot.focusedApp, *frames.name);
    drawMode(snapshot.layoutMode, frames.mode);
    for (std::size_t i = 0; i < frames.cells.size(); ++i) {
        const int desktop = static_cast<int>(i) + 1;
        const CGRect& tile = frames.cells[i];
        if (desktop == snapshot.flashing || desktop == snapshot.active)
            drawActive(desktop, tile);
        else if (snapshot.occupied.count(desktop))
            drawOccupied(desktop, tile);
        else
            drawDot(tile);
    }
}

void MenuBarRow::drawName(const std::string& name, const CGRect& band) {
    NSParagraphStyle style;
    style.alignment = NSTextAlignment::right;
    style.lineBreakMode = NSLineBreakMode::byTruncatingTail;
    style.allowsDefaultTighteningForTruncation = false;
    const NSAttributedString text(name, {nameFont(), NSColor::colorWithWhite(0, nameAlpha), style,
                                         std::nullopt, std::nullopt});
    const CGFloat height = text.size().height;
    text.drawWithRect(CGRect(band.minX(), band.midY() - height / 2, band.width(), height),
                      NSStringDrawingUsesLineFragmentOrigin);
}

void MenuBarRow::drawMode(LayoutMode mode, const CGRect& box) {
    const CGFloat cx = box.midX();
    const CGFloat top = box.midY() - 5.5;
    const CGFloat pitch = 6.25;
    switch (mode) {
        case LayoutMode::masterStack:
            fillRoundedRect(CGRect(cx - 5.25, top, 5, 11), markRadius, markMainAlpha);
            fillRoundedRect(CGRect(cx + 1.25, top, 4, 4.75), markRadius, markPaneAlpha);
            fillRoundedRect(CGRect(cx + 1.25, top + pitch, 4, 4.75), markRadius, markPaneAlpha);
            break;
        case LayoutMode::bsp:
            for (CGFloat y : {top, top + pitch})
                for (CGFloat x : {cx - 5.5, cx + 0.75})
                    fillRoundedRect(CGRect(x, y, 4.75, 4.75), markRadius, markPaneAlpha);
            break;
    }
}

void MenuBarRow::drawActive(int desktop, const CGRect& tile) {
    fillRoundedRect(tile, tileRadius, 1);
    NSGraphicsContext::saveGraphicsState();
    NSGraphicsContext::currentContext()->setCompositingOperation(
        NSCompositingOperation::destinationOut);
    drawNumber(desktop, tile, NSFontWeightSemibold, cutOutAlpha);
    NSGraphicsContext::restoreGraphicsState();
}

void MenuBarRow::drawOccupied(int desktop, const CGRect& tile) {
    drawNumber(desktop, tile, NSFontWeightMedium, 1);
}

void MenuBarRow::drawDot(const CGRect& tile) {
    fillRoundedRect(CGRect(tile.midX() - dotSide / 2, tile.midY() - dotSide / 2, dotSide, dotSide),
                    dotRadius, dotAlpha);
}

void MenuBarRow::drawNumber(int desktop, const CGRect& tile, NSFontWeight weight, CGFloat alpha) {
    NSTextAttributes attributes;
    attributes.font = roundedFont(numberFontSize, weight);
    attributes.foregroundColor = NSColor::colorWithWhite(0, alpha);
    const NSAttributedString text(std::to_string(desktop), attributes);
    const CGSize size = text.size();
    text.drawAtPoint({tile.midX() - size.width / 2, tile.midY() - size.height / 2});
}

void MenuBarRow::fillRoundedRect(const CGRect& rect, CGFloat radius, CGFloat alpha) {
    NSColor::colorWithWhite(0, alpha)->setFill();
    NSBezierPath::bezierPathWithRoundedRect(rect, radius, radius).fill();
}

const NSFontRef& MenuBarRow::nameFont() {
    static const NSFontRef made = NSFont::systemFontOfSize(nameFontSize);
    return made;
}

NSFontRef MenuBarRow::roundedFont(CGFloat size, NSFontWeight weight) {
    NSFontRef font = NSFont::systemFontOfSize(size, weight);
    if (const NSFontDescriptorRef rounded =
            font->fontDescriptor()->fontDescriptorWithDesign(NSFontDesign::rounded))
        font = NSFont::fontWithDescriptor(*rounded, size);
    return font;
}

}  // namespace kelvo
