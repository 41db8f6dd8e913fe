#include <string>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/CommandGlyph.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoCore/Brand/MarkRenderer.h"
#include "PictureBook.h"
#include "PictureCanvas.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo_pictures {

namespace {

using namespace SwiftUI;
using kelvo::Palette;

NSColorRef ground() {
    return Palette::background().nsColor();
}

/// The drawn mark at the pixel sizes it is rendered at, one pixel a point, side by side.
CGImageRef markSheet() {
    const int sides[] = {16, 22, 64, 256};
    constexpr double margin = 24, gap = 32, top = 48;
    double width = margin;
    for (int side : sides)
        width += side + gap;
    PictureCanvas canvas(CGSize{width, top + 256 + margin + 20}, ground());
    canvas.label("The drawn mark at 16, 22, 64 and 256 pixels", {margin, 16}, 13,
                 Palette::title().nsColor(), NSFontWeightSemibold);
    double x = margin;
    for (int side : sides) {
        const CGImageRef mark = kelvo::MarkRenderer::render(side, side);
        if (!mark) return nullptr;
        NSImage(mark, CGSize{double(side), double(side)}).drawInRect(CGRect(x, top, side, side));
        canvas.label(std::to_string(side), {x, top + side + 6}, 11, Palette::dim().nsColor());
        x += side + gap;
    }
    return canvas.finish();
}

/// Every command glyph with its name, five to a row, drawn large.
View glyphGrid() {
    constexpr std::size_t glyphsPerRow = 5;
    std::vector<View> rows;
    std::vector<View> row;
    for (kelvo::KeyReference::Glyph glyph : kelvo::KeyReference::allGlyphs()) {
        row.push_back(
            VStack(HorizontalAlignment::center, 4,
                   {View(kelvo::CommandGlyph(glyph)), Text(kelvo::KeyReference::rawValue(glyph))
                                                          .font(Font::system(5))
                                                          .foregroundColor(Palette::label())})
                .frame(56, 34));
        if (row.size() < glyphsPerRow) continue;
        rows.push_back(HStack(VerticalAlignment::top, 0, row));
        row.clear();
    }
    if (!row.empty()) rows.push_back(HStack(VerticalAlignment::top, 0, row));
    return VStack(HorizontalAlignment::leading, 4, std::move(rows))
        .padding(8)
        .frame(FlexibleFrame{
            .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
        .background(Palette::card());
}

View bannerBlocks() {
    return VStack(HorizontalAlignment::leading, 12,
                  {kelvo::notice("Kelvo could not save the shortcut: another command already uses "
                                 "that chord, so it was left as it was."),
                   kelvo::caution("These settings change macOS itself and are put back exactly "
                                  "as found when you switch them off."),
                   kelvo::banner("Settings exported to kelvo-settings.json",
                                 "checkmark.circle.fill", Palette::good())})
        .padding(20)
        .frame(FlexibleFrame{
            .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
        .background(Palette::background());
}

}  // namespace

std::vector<Picture> brandPictures() {
    return {
        {"mark", markSheet},
        {"command-glyphs",
         [] {
             return renderView(glyphGrid, {296, 200}, 4);
         }},
        {"banners",
         [] {
             return renderView(bannerBlocks, {460, 230}, 2);
         }},
    };
}

}  // namespace kelvo_pictures
