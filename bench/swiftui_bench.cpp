// A view tree of 500 application rows (icon, name, desktop badge) in a scroll view, laid out
// and drawn into a 640 × 600 bitmap: once from a fresh graph (every text set anew) and again
// in a graph that has laid it out before (as a published change does). Each row's icon is an
// image of 128 × 128 pixels drawn into 32 points with high-quality interpolation, as the
// launcher draws an application's icon; eight icons take turns. The view toolkit's part only:
// nothing here is packed or sent to a desktop.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGPath.h"
#include "Base/Foundation/ManualClock.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

using namespace SwiftUI;

namespace {

constexpr int rowCount = 500;
const CGSize panel{640, 600};
constexpr int iconCount = 8;
constexpr double iconPixels = 128;

/// An application icon as a bundle's image file holds it: a tinted rounded tile with a window
/// drawn on it.
NSImageRef icon(int index) {
    const auto bitmap = CGBitmapContext::make(CGSize{iconPixels, iconPixels}, 1);
    CGPath tile;
    tile.addRoundedRect(CGRect(12, 12, 104, 104), 23, CGRoundedCornerStyle::continuous);
    bitmap->setFillColor(CGColorCreateSRGB(0.2 + 0.1 * index, 0.5, 0.9 - 0.1 * index, 1));
    bitmap->beginPath();
    bitmap->addPath(tile);
    bitmap->fillPath();
    bitmap->setFillColor(CGColorCreateSRGB(0.97, 0.97, 0.97, 1));
    bitmap->fill(CGRect(32, 38, 64, 52));
    return std::make_shared<NSImage>(bitmap->makeImage(), CGSize{iconPixels, iconPixels});
}

const std::vector<NSImageRef>& icons() {
    static const std::vector<NSImageRef> made = [] {
        std::vector<NSImageRef> list;
        for (int i = 0; i < iconCount; ++i)
            list.push_back(icon(i));
        return list;
    }();
    return made;
}

View row(int index) {
    const Color accent(0.35, 0.55, 1.0);
    return HStack(
               VerticalAlignment::center, 14,
               {Image(icons()[index % iconCount])
                    .resizable()
                    .interpolation(Image::Interpolation::high)
                    .frame(32, 32),
                HStack(VerticalAlignment::center, 10,
                       {View(Text("Application number " + std::to_string(index))
                                 .font(Font::system(15))
                                 .foregroundColor(Color::white().opacity(0.78)))
                            .lineLimit(1),
                        Text(std::to_string(index % 9 + 1))
                            .font(Font::system(12.5, Font::Weight::semibold, Font::Design::rounded))
                            .foregroundColor(Color::white())
                            .frame(FlexibleFrame{.minWidth = 26, .minHeight = 22})
                            .background(RoundedRectangle(6, RoundedCornerStyle::continuous)
                                            .fill(accent.opacity(0.42)))}),
                Spacer()})
        .padding(Edges::horizontal(), 20)
        .frame(FlexibleFrame{.maxWidth = infinity,
                             .minHeight = 52,
                             .maxHeight = 52,
                             .alignment = Alignment::leading()})
        .onTapGesture([] {});
}

View rows() {
    std::vector<View> list;
    for (int i = 0; i < rowCount; ++i)
        list.push_back(row(i));
    return ScrollView(VStack(HorizontalAlignment::center, 0, list));
}

void BM_LayOutAndDrawFreshGraph(benchmark::State& state) {
    for (auto _ : state) {
        ViewGraph graph(rows);
        graph.layout(panel);
        const auto context = CGBitmapContext::make(panel, 1);
        graph.draw(*context);
        benchmark::DoNotOptimize(graph.tree().children.size());
    }
}
BENCHMARK(BM_LayOutAndDrawFreshGraph)->Unit(benchmark::kMillisecond);

void BM_LayOutAndDrawAgain(benchmark::State& state) {
    ManualClock clock;
    ViewGraph graph(rows);
    graph.layout(panel);
    const auto context = CGBitmapContext::make(panel, 1);
    for (auto _ : state) {
        // As a published change does: the body is built again and laid out on the next turn.
        graph.setNeedsUpdate();
        clock.runUntilIdle();
        graph.draw(*context);
        benchmark::DoNotOptimize(graph.tree().children.size());
    }
}
BENCHMARK(BM_LayOutAndDrawAgain)->Unit(benchmark::kMillisecond);

}  // namespace
