#include <string>

#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/AppKit/SymbolImages.h"

namespace kelvo_pictures {

namespace {

NSColorRef ground() {
    return NSColor::colorWithSRGBRed(0.043, 0.055, 0.086, 1);
}

NSColorRef accent() {
    return NSColor::colorWithSRGBRed(34 / 255.0, 211 / 255.0, 238 / 255.0, 1);
}

/// Every symbol in a row of its sizes and weights as the settings window tints it, in the
/// accent colour, and as the template itself on a light ground.
CGImageRef symbolSheet() {
    struct Column {
        std::string title;
        NSImageSymbolConfiguration configuration;
    };
    const Column columns[] = {
        {"12 regular", {12, NSFontWeightRegular}}, {"12 medium", {12, NSFontWeightMedium}},
        {"15 regular", {15, NSFontWeightRegular}}, {"18 medium", {18, NSFontWeightMedium}},
        {"24 bold", {24, NSFontWeightBold}},
    };
    constexpr double nameWidth = 250, columnWidth = 64, rowHeight = 40, top = 56, margin = 20;
    const auto& symbols = SymbolImages::all();
    const double columnCount = std::size(columns) + 2;
    PictureCanvas canvas(CGSize{2 * margin + nameWidth + columnCount * columnWidth,
                                top + symbols.size() * rowHeight + margin},
                         ground());
    const NSColorRef dim = NSColor::colorWithWhite(1, 0.42);
    canvas.label("Symbol images: tinted white, in the accent, and the template on light",
                 {margin, 16}, 13, NSColor::colorWithWhite(1, 0.94), NSFontWeightSemibold);
    double x = margin + nameWidth;
    for (const Column& column : columns) {
        canvas.label(column.title, {x, 38}, 10, dim);
        x += columnWidth;
    }
    canvas.label("15 accent", {x, 38}, 10, dim);
    canvas.label("15 template", {x + columnWidth, 38}, 10, dim);
    double y = top;
    for (const SymbolImages::Symbol& symbol : symbols) {
        canvas.label(symbol.name, {margin, y + 12}, 12, NSColor::colorWithWhite(1, 0.82));
        const NSImageRef image = NSImage::imageWithSystemSymbolName(symbol.name);
        const auto place = [&](const NSImageRef& shown, double left) {
            const CGSize size = shown->size();
            shown->drawInRect(
                CGRect(left, y + (rowHeight - size.height) / 2, size.width, size.height));
        };
        x = margin + nameWidth;
        for (const Column& column : columns) {
            place(image->imageWithSymbolConfiguration(column.configuration)
                      ->imageTintedWithColor(NSColor::whiteColor()),
                  x);
            x += columnWidth;
        }
        const NSImageRef fifteen = image->imageWithSymbolConfiguration({15, NSFontWeightRegular});
        place(fifteen->imageTintedWithColor(accent()), x);
        x += columnWidth;
        NSColor::colorWithWhite(0.96, 1)->setFill();
        NSBezierPath::bezierPathWithRoundedRect(CGRect(x - 6, y + 4, 40, rowHeight - 8), 6, 6)
            .fill();
        place(fifteen, x);
        y += rowHeight;
    }
    return canvas.finish();
}

}  // namespace

std::vector<Picture> symbolPictures() {
    return {{"symbols", symbolSheet}};
}

}  // namespace kelvo_pictures
