// What a laid-out tree draws, on the recording context: shapes with their paths and colours,
// text in its box, symbols in their tint, opacity and clipping around their content.

#include <gtest/gtest.h>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Base/Foundation/ManualClock.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

using namespace SwiftUI;

namespace {

std::vector<CGDrawOperation> drawn(const View& view, CGSize size) {
    ViewGraph graph([view] { return view; });
    graph.layout(size);
    CGRecordingContext context(size);
    graph.draw(context);
    return context.operations();
}

TEST(Drawing, ShapesFillAndStrokeInTheirColoursInTopDownPlaces) {
    const auto operations =
        drawn(Color::clear()
                  .view()
                  .frame(40, 20)
                  .background(
                      RoundedRectangle(5, RoundedCornerStyle::continuous).fill(Color(1, 0, 0, 0.5)))
                  .overlay(RoundedRectangle(5).strokeBorder(Color::white(), 2)),
              {100, 100});
    ASSERT_GE(operations.size(), 3u);
    // The background first, under the content and the overlay.
    const CGDrawOperation& fill = operations[0];
    EXPECT_EQ(fill.kind, CGDrawOperationKind::fillPath);
    EXPECT_EQ(fill.color, (CGColorValue{1, 0, 0, 0.5}));
    // Top-down (30, 40) is base-space y 100 - 40 - 20 = 40.
    const CGRect box = fill.path.applying(fill.ctm).boundingBox();
    EXPECT_NEAR(box.minX(), 30, 1e-9);
    EXPECT_NEAR(box.minY(), 40, 1e-9);
    const CGDrawOperation& stroke = operations.back();
    EXPECT_EQ(stroke.kind, CGDrawOperationKind::strokePath);
    EXPECT_EQ(stroke.stroke.lineWidth, 2);
    EXPECT_NEAR(stroke.path.applying(stroke.ctm).boundingBox().minX(), 31, 1e-9);
}

TEST(Drawing, AStrokeStyleGivesTheLineItsWidthCapsAndJoins) {
    const auto operations =
        drawn(Circle()
                  .stroke(Color::white(), StrokeStyle{1.4, CGLineCap::round, CGLineJoin::round})
                  .frame(10, 10),
              {10, 10});
    ASSERT_EQ(operations.size(), 1u);
    EXPECT_EQ(operations[0].stroke.lineWidth, 1.4);
    EXPECT_EQ(operations[0].stroke.lineCap, CGLineCap::round);
    EXPECT_EQ(operations[0].stroke.lineJoin, CGLineJoin::round);
    EXPECT_EQ(drawn(Circle().stroke(Color::white(), 2).frame(10, 10), {10, 10})[0].stroke.lineCap,
              CGLineCap::butt);
}

TEST(Drawing, TextIsDrawnInItsBoxWithItsCharacters) {
    const auto operations =
        drawn(Text("Shortcuts").font(Font::system(15, Font::Weight::semibold)), {200, 40});
    ASSERT_EQ(operations.size(), 1u);
    ASSERT_TRUE(operations[0].text);
    EXPECT_EQ(operations[0].text->text, "Shortcuts");
    EXPECT_EQ(operations[0].text->fontName, "Carlito Bold");
    EXPECT_EQ(operations[0].text->pointSize, 15);
}

TEST(Drawing, OpacityWrapsItsContentInALayer) {
    const auto operations = drawn(Color::white().view().opacity(0.45), {10, 10});
    ASSERT_EQ(operations.size(), 3u);
    EXPECT_EQ(operations[0].kind, CGDrawOperationKind::beginTransparencyLayer);
    EXPECT_DOUBLE_EQ(operations[0].alpha, 0.45);
    EXPECT_EQ(operations[2].kind, CGDrawOperationKind::endTransparencyLayer);
    EXPECT_TRUE(drawn(Color::white().view().opacity(0), {10, 10}).empty());
}

TEST(Drawing, AScrollViewDrawsOnlyWhatCanBeSeen) {
    std::vector<View> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back(Color::white().view().frame(50, 20));
    const auto operations =
        drawn(ScrollView(VStack(HorizontalAlignment::center, 0, rows)), {50, 100});
    // Five rows show; the culling keeps a margin of a row or two beyond the edge.
    EXPECT_GE(operations.size(), 5u);
    EXPECT_LE(operations.size(), 10u);
    for (const CGDrawOperation& op : operations)
        EXPECT_FALSE(op.clips.empty());
}

TEST(Drawing, ASymbolKeptFromPassToPassFollowsItsTintAndSize) {
    ManualClock clock;
    Color tint(1, 0, 0);
    CGFloat size = 12;
    ViewGraph graph([&] {
        return View(Image::systemName("magnifyingglass"))
            .font(Font::system(size))
            .foregroundColor(tint);
    });
    const auto fillColour = [&] {
        CGRecordingContext context({40, 40});
        graph.draw(context);
        for (const CGDrawOperation& op : context.operations())
            if (op.kind == CGDrawOperationKind::fillPath) return op.color;
        return CGColorValue{};
    };
    graph.layout({40, 40});
    EXPECT_EQ(fillColour(), tint.value());
    const CGFloat small = graph.tree().findKind(NodeKind::image)->frame.width();
    tint = Color(0, 0, 1);
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(fillColour(), tint.value());
    size = 24;
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_GT(graph.tree().findKind(NodeKind::image)->frame.width(), small);
}

}  // namespace
