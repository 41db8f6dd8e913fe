// The drawing layer's cost where the system draws most often: the status item's image,
// redrawn on every change of the desktops (goal: under 0.5 ms), and a panel of 640 × 400
// points with 40 runs of text (goal: under 5 ms). Strings and images are made afresh each
// time, as a redraw makes them.
#include <benchmark/benchmark.h>

#include <string>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Platform/AppKit/FontConfiguration.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSBezierPath.h"
#include "Platform/AppKit/NSImage.h"

namespace {

NSFontRef rounded(CGFloat size, NSFontWeight weight) {
    const NSFontRef plain = NSFont::systemFontOfSize(size, weight);
    const auto design = plain->fontDescriptor()->fontDescriptorWithDesign(NSFontDesign::rounded);
    return design ? NSFont::fontWithDescriptor(*design, size) : plain;
}

void drawCentred(const std::string& text, const NSFontRef& font, double alpha, const CGRect& r) {
    NSTextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = NSColor::colorWithWhite(0, alpha);
    const NSAttributedString string(text, attributes);
    const CGSize size = string.size();
    string.drawAtPoint({r.midX() - size.width / 2, r.midY() - size.height / 2});
}

/// A row 18 points high: a name band, the layout-mode mark and nine desktop tiles (the third
/// active, three occupied), as the status item draws it.
bool drawStatusRow(const CGRect&) {
    NSTextAttributes name;
    name.font = NSFont::systemFontOfSize(12);
    name.foregroundColor = NSColor::colorWithWhite(0, 0.88);
    NSParagraphStyle right;
    right.alignment = NSTextAlignment::right;
    right.lineBreakMode = NSLineBreakMode::byTruncatingTail;
    name.paragraphStyle = right;
    const NSAttributedString app("Safari", name);
    const CGFloat h = app.size().height;
    app.drawWithRect(CGRect(4, 9 - h / 2, 90, h), NSStringDrawingUsesLineFragmentOrigin);

    const double cx = 97 + 6.5, top = 9 - 5.5;
    NSColor::colorWithWhite(0, 0.95)->setFill();
    NSBezierPath::bezierPathWithRoundedRect(CGRect(cx - 5.25, top, 5, 11), 1, 1).fill();
    NSColor::colorWithWhite(0, 0.55)->setFill();
    NSBezierPath::bezierPathWithRoundedRect(CGRect(cx + 1.25, top, 4, 4.75), 1, 1).fill();
    NSBezierPath::bezierPathWithRoundedRect(CGRect(cx + 1.25, top + 6.25, 4, 4.75), 1, 1).fill();

    for (int k = 1; k <= 9; ++k) {
        const CGRect tile(113 + 18 * (k - 1), 1.5, 15, 15);
        if (k == 3) {
            NSColor::colorWithWhite(0, 1)->setFill();
            NSBezierPath::bezierPathWithRoundedRect(tile, 3, 3).fill();
            NSGraphicsContext::saveGraphicsState();
            NSGraphicsContext::currentContext()->setCompositingOperation(
                NSCompositingOperation::destinationOut);
            drawCentred(std::to_string(k), rounded(11, NSFontWeightSemibold), 0.8, tile);
            NSGraphicsContext::restoreGraphicsState();
        } else if (k == 1 || k == 2 || k == 5) {
            drawCentred(std::to_string(k), rounded(11, NSFontWeightMedium), 1, tile);
        } else {
            NSColor::colorWithWhite(0, 0.35)->setFill();
            NSBezierPath::bezierPathWithRoundedRect(
                CGRect(tile.midX() - 1.5, tile.midY() - 1.5, 3, 3), 1, 1)
                .fill();
        }
    }
    return true;
}

void BM_StatusItemImage(benchmark::State& state) {
    FontConfiguration::install();
    for (auto _ : state) {
        NSImage image(CGSize{276, 18}, true, drawStatusRow);
        image.setTemplate(true);
        benchmark::DoNotOptimize(image.CGImageForScale(1));
    }
}
BENCHMARK(BM_StatusItemImage)->Unit(benchmark::kMillisecond);

/// A panel of 640 × 400 points: a rounded card and twenty rows, each a title and a line of
/// prose (40 runs of text), one row selected.
void BM_PanelWithFortyTextRuns(benchmark::State& state) {
    FontConfiguration::install();
    for (auto _ : state) {
        auto bitmap = CGBitmapContext::make(CGSize{640, 400}, 1);
        bitmap->translateBy(0, 400);
        bitmap->scaleBy(1, -1);
        NSGraphicsContext graphics(*bitmap, true);
        NSGraphicsContextScope scope(graphics);
        NSColor::colorWithSRGBRed(0.043, 0.055, 0.086, 1)->setFill();
        NSBezierPath::fillRect(CGRect(0, 0, 640, 400));
        NSColor::colorWithSRGBRed(0.086, 0.102, 0.145, 1)->setFill();
        NSBezierPath::bezierPathWithRoundedRect(CGRect(12, 8, 616, 384), 12, 12).fill();
        NSTextAttributes title;
        title.font = NSFont::systemFontOfSize(13);
        title.foregroundColor = NSColor::colorWithWhite(1, 0.94);
        NSTextAttributes prose;
        prose.font = NSFont::systemFontOfSize(11.5);
        prose.foregroundColor = NSColor::colorWithWhite(1, 0.42);
        for (int row = 0; row < 20; ++row) {
            const double y = 12 + row * 19;
            if (row == 4) {
                NSColor::colorWithSRGBRed(0.13, 0.83, 0.93, 0.2)->setFill();
                NSBezierPath::bezierPathWithRoundedRect(CGRect(20, y - 2, 600, 19), 9, 9).fill();
            }
            NSAttributedString("Setting number " + std::to_string(row + 1), title)
                .drawAtPoint({28, y});
            NSAttributedString(
                "What the setting does, in a line of prose " + std::to_string(row * 7), prose)
                .drawWithRect(CGRect(240, y + 1, 360, 16), NSStringDrawingUsesLineFragmentOrigin);
        }
        benchmark::DoNotOptimize(bitmap->makeImage());
    }
}
BENCHMARK(BM_PanelWithFortyTextRuns)->Unit(benchmark::kMillisecond);

}  // namespace
