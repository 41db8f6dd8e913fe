// The command glyphs: every one drawn inside its 22 × 16 canvas with a picture of its own, the
// direction families as mirror images, and nothing of them read by accessibility tools.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "KelvoApp/Views/CommandGlyph.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewNode.h"
#include "Support/KelvoCore/Printers.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using Glyph = KeyReference::Glyph;
using SwiftUI::LayoutNode;
using testing::LaidOutView;

/// One drawn shape: what kind of drawing, where (top-down, in the canvas) and in which colour.
struct DrawnShape {
    CGDrawOperationKind kind;
    CGRect box;
    CGColorValue color;
};

/// The canvas height, to turn the recording's upward y into the glyph's downward one.
constexpr CGFloat canvasHeight = CommandGlyph::height;
/// The lit parts: the accent cyan 0x22D3EE at 0.92; the quiet ones: white at 0.16.
const CGColorValue accent{34 / 255.0, 211 / 255.0, 238 / 255.0, 0.92};
const CGColorValue quiet{1, 1, 1, 0.16};

CGRect topDown(const CGRect& box) {
    return CGRect(box.minX(), canvasHeight - box.maxY(), box.width(), box.height());
}

void expectBox(const CGRect& actual, const CGRect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

std::vector<CGDrawOperation> operations(Glyph glyph) {
    SwiftUI::ViewGraph graph([glyph] { return SwiftUI::View(CommandGlyph(glyph)); });
    graph.layout({CommandGlyph::width, CommandGlyph::height});
    CGRecordingContext context({CommandGlyph::width, CommandGlyph::height});
    graph.draw(context);
    return context.operations();
}

std::vector<DrawnShape> shapes(Glyph glyph) {
    std::vector<DrawnShape> drawn;
    for (const CGDrawOperation& op : operations(glyph)) {
        const bool shape =
            op.kind == CGDrawOperationKind::fillPath || op.kind == CGDrawOperationKind::strokePath;
        // The clear colour under the shapes leaves nothing on the canvas.
        if (!shape || op.color.alpha == 0) continue;
        drawn.push_back({op.kind, topDown(op.path.applying(op.ctm).boundingBox()), op.color});
    }
    return drawn;
}

std::string rounded(double value) {
    std::ostringstream text;
    text << std::round(value * 1000) / 1000;
    return text.str();
}

/// A text of a shape that two equal shapes share, for comparing pictures as sets.
std::string signature(const DrawnShape& shape) {
    const CGRect& b = shape.box;
    return std::to_string(static_cast<int>(shape.kind)) + " " + rounded(b.minX()) + " " +
           rounded(b.minY()) + " " + rounded(b.width()) + " " + rounded(b.height()) + " " +
           rounded(shape.color.alpha) + " " + rounded(shape.color.green);
}

std::multiset<std::string> picture(const std::vector<DrawnShape>& drawn) {
    std::multiset<std::string> set;
    for (const DrawnShape& shape : drawn)
        set.insert(signature(shape));
    return set;
}

std::vector<DrawnShape> mirrored(std::vector<DrawnShape> drawn, bool acrossX) {
    for (DrawnShape& shape : drawn) {
        CGRect& b = shape.box;
        b = acrossX ? CGRect(CommandGlyph::width - b.maxX(), b.minY(), b.width(), b.height())
                    : CGRect(b.minX(), canvasHeight - b.maxY(), b.width(), b.height());
    }
    return drawn;
}

/// The middle point of the one chevron a glyph strokes, top-down.
CGPoint chevronTip(Glyph glyph) {
    for (const CGDrawOperation& op : operations(glyph))
        if (op.kind == CGDrawOperationKind::strokePath) {
            const CGPoint tip = op.path.applying(op.ctm).elements().at(1).points[0];
            return {tip.x, canvasHeight - tip.y};
        }
    return {NAN, NAN};
}

TEST(CommandGlyph, EveryGlyphHasAPictureOfItsOwnInsideItsCanvas) {
    std::set<std::multiset<std::string>> pictures;
    for (Glyph glyph : KeyReference::allGlyphs()) {
        const std::string name = KeyReference::rawValue(glyph);
        const auto drawn = shapes(glyph);
        ASSERT_FALSE(drawn.empty()) << name;
        for (const DrawnShape& shape : drawn) {
            // Strokes reach half their width past their path; round caps no further.
            EXPECT_GE(shape.box.minX(), -0.01) << name;
            EXPECT_GE(shape.box.minY(), -0.01) << name;
            EXPECT_LE(shape.box.maxX(), CommandGlyph::width + 0.01) << name;
            EXPECT_LE(shape.box.maxY(), CommandGlyph::height + 0.01) << name;
        }
        pictures.insert(picture(drawn));
        LaidOutView laid(SwiftUI::View(CommandGlyph(glyph)).frame(100, 100), {100, 100});
        const LayoutNode* canvas = laid.tree().find([](const LayoutNode& node) {
            return node.frame.size == CGSize{CommandGlyph::width, CommandGlyph::height};
        });
        ASSERT_TRUE(canvas) << name;
        EXPECT_EQ(canvas->frame.origin, (CGPoint{39, 42})) << name;
    }
    EXPECT_EQ(pictures.size(), KeyReference::glyphCount);
}

TEST(CommandGlyph, TheFocusFamilyLightsTheHalfOnItsSide) {
    const auto left = shapes(Glyph::focusLeft);
    ASSERT_EQ(left.size(), 3u);
    expectBox(left[0].box, CGRect(1.6, 1.6, 8.75, 12.8));
    EXPECT_EQ(left[0].color, accent);
    EXPECT_EQ(left[1].color, quiet);
    EXPECT_EQ(picture(shapes(Glyph::focusRight)), picture(mirrored(left, true)));
    EXPECT_EQ(picture(shapes(Glyph::focusDown)), picture(mirrored(shapes(Glyph::focusUp), false)));
    EXPECT_NE(picture(shapes(Glyph::focusRight)), picture(left));
}

TEST(CommandGlyph, MovesAndResizesMirrorAndTheirChevronsFlip) {
    EXPECT_EQ(picture(shapes(Glyph::moveDown)), picture(mirrored(shapes(Glyph::moveUp), false)));
    EXPECT_EQ(picture(shapes(Glyph::moveRight)), picture(mirrored(shapes(Glyph::moveLeft), true)));
    // The pane a window leaves is the accent one (moving up the bottom one, moving right the
    // left one), and the chevron points the way it goes.
    const auto up = shapes(Glyph::moveUp);
    expectBox(up[1].box, CGRect(1.6, 10.2, 18.8, 4.2));
    EXPECT_EQ(up[1].color, accent);
    EXPECT_EQ(shapes(Glyph::moveRight)[0].color, accent);
    EXPECT_NEAR(chevronTip(Glyph::moveUp).y, 6.3, 1e-9);
    EXPECT_NEAR(chevronTip(Glyph::moveDown).y, 9.7, 1e-9);
    EXPECT_NEAR(chevronTip(Glyph::moveLeft).x, 9.3, 1e-9);
    EXPECT_NEAR(chevronTip(Glyph::moveRight).x, 12.7, 1e-9);
    EXPECT_EQ(picture(shapes(Glyph::resizeRight)),
              picture(mirrored(shapes(Glyph::resizeLeft), true)));
    EXPECT_EQ(picture(shapes(Glyph::resizeDown)),
              picture(mirrored(shapes(Glyph::resizeUp), false)));
}

TEST(CommandGlyph, SingleGlyphsKeepTheirWorkedShapes) {
    const auto zoom = shapes(Glyph::zoom);
    ASSERT_EQ(zoom.size(), 2u);
    EXPECT_EQ(zoom[0].kind, CGDrawOperationKind::strokePath);
    // The screen frame is stroked a half point inside (0.5, 0.5, 21, 15).
    expectBox(zoom[0].box, CGRect(1, 1, 20, 14));
    expectBox(zoom[1].box, CGRect(2.4, 2.4, 17.2, 11.2));
    const auto sheet = shapes(Glyph::cheatsheet);
    ASSERT_EQ(sheet.size(), 7u);
    int lit = 0;
    for (const DrawnShape& key : sheet)
        if (key.color == accent) {
            ++lit;
            expectBox(key.box, CGRect(8.0, 4.0, 3.4, 2.4));
        }
    EXPECT_EQ(lit, 1);
    // The rotation arc ends at 300°, beside its arrow head.
    for (const CGDrawOperation& op : operations(Glyph::rotate))
        if (op.kind == CGDrawOperationKind::strokePath) {
            const CGPoint end = *op.path.applying(op.ctm).currentPoint();
            EXPECT_NEAR(end.x, 11 + 5.1 * std::cos(5.235987755982989), 1e-6);
            EXPECT_NEAR(canvasHeight - end.y, 8 + 5.1 * std::sin(5.235987755982989), 1e-6);
            EXPECT_EQ(op.stroke.lineCap, CGLineCap::round);
        }
    const auto floating = operations(Glyph::float_);
    EXPECT_TRUE(std::any_of(floating.begin(), floating.end(),
                            [](const CGDrawOperation& op) { return op.shadow.isVisible(); }));
}

/// The texts accessibility tools read in a tree, skipping what is hidden from them.
void readable(const LayoutNode& node, std::vector<std::string>& labels) {
    if (node.accessibilityHidden) return;
    if (node.element) labels.push_back(node.element->role + ":" + node.element->label);
    for (const LayoutNode& child : node.children)
        readable(child, labels);
}

TEST(CommandGlyph, ARowShowingAGlyphReadsOnlyItsText) {
    for (Glyph glyph : {Glyph::focusLeft, Glyph::launcher, Glyph::rotate}) {
        LaidOutView laid(SwiftUI::HStack({CommandGlyph(glyph), SwiftUI::Text("Focus left")}),
                         {200, 30});
        std::vector<std::string> labels;
        readable(laid.tree(), labels);
        EXPECT_EQ(labels, std::vector<std::string>{"text:Focus left"});
    }
}

}  // namespace
}  // namespace kelvo
