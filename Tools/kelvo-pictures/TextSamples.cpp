#include <cstdio>
#include <optional>
#include <string>

#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/TextLayout.h"

namespace kelvo_pictures {

namespace {

struct Sample {
    CGFloat size;
    NSFontWeight weight;
    NSFontDesign design;
    std::optional<CGFloat> tracking;
    std::string text;
    std::string where;
};

std::string weightName(NSFontWeight weight) {
    if (weight >= NSFontWeightBold) return "bold";
    if (weight >= NSFontWeightSemibold) return "semibold";
    if (weight >= NSFontWeightMedium) return "medium";
    return "regular";
}

std::string designName(NSFontDesign design) {
    switch (design) {
        case NSFontDesign::rounded:
            return " rounded";
        case NSFontDesign::monospaced:
            return " monospaced";
        case NSFontDesign::standard:
        case NSFontDesign::serif:
            break;
    }
    return "";
}

std::string number(double value, const char* format = "%g") {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

NSAttributedString styled(const Sample& s, const NSColorRef& color) {
    NSTextAttributes attributes;
    attributes.font = NSFont::fontWithDescriptor(NSFontDescriptor(s.weight, s.design, s.size), 0);
    attributes.foregroundColor = color;
    attributes.tracking = s.tracking;
    return NSAttributedString(s.text, attributes);
}

/// The sizes, weights and designs the system's windows use, each with a text of its own.
CGImageRef textSamples() {
    using D = NSFontDesign;
    const Sample samples[] = {
        {9.5, NSFontWeightMedium, D::standard, 0.3, "on Dock restart", "effect badge"},
        {10, NSFontWeightSemibold, D::rounded, 0.6, "NORMAL", "launcher mode chip"},
        {10, NSFontWeightMedium, D::rounded, std::nullopt, "⌘K", "search key hint"},
        {10.5, NSFontWeightSemibold, D::standard, 1.1, "DESKTOPS", "card title"},
        {11, NSFontWeightRegular, D::standard, std::nullopt,
         "Every one of these is rebindable in Settings ▸ Shortcuts", "cheat sheet header"},
        {11, NSFontWeightMedium, D::rounded, std::nullopt, "⌥ ⇧ ← ↩ ⇥ esc j k", "key caps"},
        {11, NSFontWeightSemibold, D::rounded, std::nullopt, "1 2 3 4 5 6 7 8 9",
         "status item tiles"},
        {11.5, NSFontWeightRegular, D::standard, std::nullopt,
         "Saves a report to your Desktop you can send on.", "row prose"},
        {11.5, NSFontWeightRegular, D::monospaced, std::nullopt, "#FF7A60", "colour well"},
        {12, NSFontWeightRegular, D::standard, std::nullopt, "Kelvo - desktop 3 of 9",
         "status item name, banners"},
        {12, NSFontWeightMedium, D::monospaced, std::nullopt, "35%  16pt  250ms",
         "slider readouts"},
        {12.5, NSFontWeightRegular, D::standard, std::nullopt, "Safari", "rule rows"},
        {12.5, NSFontWeightSemibold, D::rounded, std::nullopt, "3", "launcher badge"},
        {13, NSFontWeightRegular, D::standard, std::nullopt, "Accessibility access", "row titles"},
        {13, NSFontWeightMedium, D::standard, std::nullopt, "General  Tiling  Focus",
         "sidebar tabs"},
        {14, NSFontWeightRegular, D::standard, std::nullopt, "Settings…  Guide…  Quit Kelvo",
         "menu"},
        {15, NSFontWeightRegular, D::standard, std::nullopt, "Open or switch to…",
         "launcher rows, search field"},
        {15, NSFontWeightSemibold, D::standard, std::nullopt, "Shortcuts", "cheat sheet title"},
        {15, NSFontWeightMedium, D::monospaced, std::nullopt, "9", "counter"},
        {19, NSFontWeightSemibold, D::standard, std::nullopt, "Let Kelvo arrange your windows",
         "guide step title"},
        {96, NSFontWeightBold, D::standard, std::nullopt, "3", "desktop-switch display"},
    };
    constexpr double margin = 20, labelWidth = 250, width = 900;
    double height = 60;
    for (const Sample& s : samples)
        height += std::max(20.0, s.size * 1.25) + 10;
    height += 110;
    PictureCanvas canvas(CGSize{width, height}, NSColor::colorWithSRGBRed(0.043, 0.055, 0.086, 1));
    const NSColorRef dim = NSColor::colorWithWhite(1, 0.42);
    canvas.label(
        "Text at the sizes, weights and designs of the system's windows (Carlito; DejaVu Sans Mono "
        "for monospaced text, DejaVu Sans for symbols Carlito lacks)",
        {margin, 16}, 13, NSColor::colorWithWhite(1, 0.94), NSFontWeightSemibold);
    double y = 48;
    for (const Sample& s : samples) {
        const std::string name = number(s.size) + " pt " + weightName(s.weight) +
                                 designName(s.design) +
                                 (s.tracking ? ", tracking " + number(*s.tracking) : "");
        canvas.label(name, {margin, y + 2}, 11, NSColor::colorWithWhite(1, 0.7));
        canvas.label(s.where, {margin, y + 16}, 9.5, dim);
        const NSAttributedString text = styled(s, NSColor::colorWithWhite(1, 0.94));
        const CGSize size = text.size();
        text.drawAtPoint({margin + labelWidth, y});
        canvas.label(number(size.width, "%.2f") + " × " + number(size.height, "%.2f"),
                     {width - margin - 90, y + 2}, 9.5, dim);
        y += std::max(20.0, s.size * 1.25) + 10;
    }
    // A name cut at the tail in the status item's 90-point band, and one that fits.
    canvas.label("Right-aligned in a 90 pt band, cut at the tail", {margin, y + 8}, 11,
                 NSColor::colorWithWhite(1, 0.7));
    NSParagraphStyle style;
    style.alignment = NSTextAlignment::right;
    style.lineBreakMode = NSLineBreakMode::byTruncatingTail;
    double left = margin + labelWidth;
    for (const char* name : {"Safari", "A Rather Long Application Name", "System Settings"}) {
        NSTextAttributes attributes;
        attributes.font = NSFont::systemFontOfSize(12);
        attributes.foregroundColor = NSColor::colorWithWhite(1, 0.88);
        attributes.paragraphStyle = style;
        const NSAttributedString text(name, attributes);
        const CGFloat h = text.size().height;
        const CGRect band(left, y + 4, 90, 18);
        NSColor::colorWithWhite(1, 0.25)->setStroke();
        NSBezierPath::bezierPathWithRect(band.insetBy(-0.5, -0.5)).stroke();
        text.drawWithRect(CGRect(band.minX(), band.midY() - h / 2, band.width(), h),
                          NSStringDrawingUsesLineFragmentOrigin);
        left += 130;
    }
    y += 40;
    // The menu's Shortcuts entry: label colour, three spaces, the chord in the secondary colour.
    canvas.label("Menu title in two colours on the light menu", {margin, y + 12}, 11,
                 NSColor::colorWithWhite(1, 0.7));
    NSColor::colorWithWhite(0.95, 1)->setFill();
    NSBezierPath::bezierPathWithRoundedRect(CGRect(margin + labelWidth, y, 220, 40), 6, 6).fill();
    NSTextAttributes label;
    label.font = NSFont::menuFontOfSize(0);
    label.foregroundColor = NSColor::labelColor();
    NSAttributedString title("Shortcuts", label);
    label.foregroundColor = NSColor::secondaryLabelColor();
    title.append(NSAttributedString("   ⌥/", label));
    title.drawAtPoint({margin + labelWidth + 14, y + 11});
    return canvas.finish();
}

}  // namespace

std::vector<Picture> textPictures() {
    return {{"text-samples", textSamples}};
}

}  // namespace kelvo_pictures
