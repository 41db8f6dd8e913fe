// The status item's row drawn on the recording context: the mode marks' boxes, dots, numbers
// and badges in their tiles and in order, the name band; and a few pixels of the active tile.

#include <gtest/gtest.h>

#include <algorithm>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "KelvoApp/Services/Overlays/MenuBarRow.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Support/KelvoCore/Printers.h"

namespace kelvo {
namespace {

/// One operation of the row, top-down in the image.
struct Drawn {
    CGDrawOperationKind kind;
    CGRect box;
    double alpha;
    CGBlendMode blend;
    std::string text;
    std::string font;
};

std::vector<Drawn> drawn(const MenuBarRow::Snapshot& snapshot) {
    const auto frames = MenuBarLayout::frames(snapshot.count, snapshot.showName);
    const CGFloat height = MenuBarLayout::rowHeight;
    CGRecordingContext context({frames.width, height});
    context.translateBy(0, height);
    context.scaleBy(1, -1);
    NSGraphicsContext graphics(context, true);
    {
        NSGraphicsContextScope current(graphics);
        MenuBarRow::draw(snapshot, frames);
    }
    std::vector<Drawn> result;
    for (const CGDrawOperation& op : context.operations()) {
        CGRect box = op.text ? CGRectApplyAffineTransform(op.text->box, op.ctm)
                             : op.path.applying(op.ctm).boundingBox();
        box = CGRect(box.minX(), height - box.maxY(), box.width(), box.height());
        const double alpha = (op.text ? op.text->color.alpha : op.color.alpha) * op.alpha;
        result.push_back({op.kind, box, alpha, op.blendMode, op.text ? op.text->text : "",
                          op.text ? op.text->fontName : ""});
    }
    return result;
}

void expectBox(const CGRect& actual, const CGRect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 1e-9);
    EXPECT_NEAR(actual.minY(), expected.minY(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

MenuBarRow::Snapshot nine() {
    MenuBarRow::Snapshot snapshot;
    snapshot.active = 2;
    snapshot.occupied = {2, 5};
    return snapshot;
}

TEST(MenuBarRow, TheMainAndStackMarkThenDotsNumbersAndTheBadgeInOrder) {
    const auto ops = drawn(nine());
    ASSERT_EQ(ops.size(), 3u + 7u + 2u + 1u);
    // The mark: centred in its box at x 4, 11 × 11 from y 3.5.
    expectBox(ops[0].box, CGRect(5.25, 3.5, 5, 11));
    EXPECT_DOUBLE_EQ(ops[0].alpha, 0.95);
    expectBox(ops[1].box, CGRect(11.75, 3.5, 4, 4.75));
    expectBox(ops[2].box, CGRect(11.75, 9.75, 4, 4.75));
    EXPECT_DOUBLE_EQ(ops[2].alpha, 0.55);
    // Desktop 1: a dot of 3 × 3 in the middle of its tile at x 20.
    expectBox(ops[3].box, CGRect(26, 7.5, 3, 3));
    EXPECT_DOUBLE_EQ(ops[3].alpha, 0.35);
    // Desktop 2 is active (and occupied): the filled tile, then its number cut out of it.
    expectBox(ops[4].box, CGRect(38, 1.5, 15, 15));
    EXPECT_EQ(ops[4].alpha, 1);
    EXPECT_EQ(ops[4].blend, CGBlendMode::normal);
    EXPECT_EQ(ops[5].text, "2");
    EXPECT_EQ(ops[5].blend, CGBlendMode::destinationOut);
    EXPECT_DOUBLE_EQ(ops[5].alpha, 0.8);
    EXPECT_EQ(ops[5].font, "Carlito Bold");
    EXPECT_NEAR(ops[5].box.midX(), 45.5, 1e-9);
    EXPECT_NEAR(ops[5].box.midY(), 9, 1e-9);
    // Desktop 5 is occupied: its number, opaque, in the medium weight.
    const auto five =
        std::find_if(ops.begin(), ops.end(), [](const Drawn& d) { return d.text == "5"; });
    ASSERT_NE(five, ops.end());
    EXPECT_EQ(five->alpha, 1);
    EXPECT_EQ(five->blend, CGBlendMode::normal);
    EXPECT_EQ(five->font, "Carlito Regular");
    EXPECT_NEAR(five->box.midX(), 20 + 18 * 4 + 7.5, 1e-9);
    // The last tile's dot.
    expectBox(ops.back().box, CGRect(164 + 6, 7.5, 3, 3));
}

TEST(MenuBarRow, TheSplitMarkIsATwoByTwoGrid) {
    auto snapshot = nine();
    snapshot.layoutMode = LayoutMode::bsp;
    const auto ops = drawn(snapshot);
    expectBox(ops[0].box, CGRect(5, 3.5, 4.75, 4.75));
    expectBox(ops[1].box, CGRect(11.25, 3.5, 4.75, 4.75));
    expectBox(ops[2].box, CGRect(5, 9.75, 4.75, 4.75));
    expectBox(ops[3].box, CGRect(11.25, 9.75, 4.75, 4.75));
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(ops[i].alpha, 0.55);
}

TEST(MenuBarRow, AFlashingDesktopIsDrawnAsTheBadge) {
    MenuBarRow::Snapshot snapshot;
    snapshot.count = 3;
    snapshot.flashing = 3;
    const auto ops = drawn(snapshot);
    // Mark, badge 1, cut-out 1, dot 2, badge 3, cut-out 3.
    ASSERT_EQ(ops.size(), 3u + 2u + 1u + 2u);
    expectBox(ops[6].box, CGRect(56, 1.5, 15, 15));
    EXPECT_EQ(ops[7].text, "3");
    EXPECT_EQ(ops[7].blend, CGBlendMode::destinationOut);
}

TEST(MenuBarRow, TheNameBandIsEmptyWithoutANameAndTruncatesALongOne) {
    MenuBarRow::Snapshot snapshot;
    snapshot.showName = true;
    const auto bare = drawn(snapshot);
    EXPECT_TRUE(std::none_of(bare.begin(), bare.end(), [](const Drawn& d) {
        return d.kind == CGDrawOperationKind::text && d.box.minX() < 94;
    }));
    expectBox(bare[0].box, CGRect(97 + 1.25, 3.5, 5, 11));
    expectBox(bare[3].box, CGRect(113, 1.5, 15, 15));

    snapshot.focusedApp = "Safari";
    const auto named = drawn(snapshot);
    ASSERT_EQ(named[0].kind, CGDrawOperationKind::text);
    EXPECT_EQ(named[0].text, "Safari");
    EXPECT_DOUBLE_EQ(named[0].alpha, 0.88);
    EXPECT_EQ(named[0].font, "Carlito Regular");
    EXPECT_NEAR(named[0].box.midY(), 9, 0.5);
    // Right-aligned: its ink ends at the band's right edge and leaves the band's left clear.
    const CGImageRef pixels = MenuBarRow::image(snapshot)->CGImageForScale(1);
    int inkLeft = 94, inkRight = 0;
    for (int x = 0; x < 94; ++x)
        for (int y = 0; y < 18; ++y)
            if (pixels->pixel(x, y)->alpha > 0) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    EXPECT_GE(inkRight, 90);
    EXPECT_GT(inkLeft, 40);

    snapshot.focusedApp = "A Remarkably Long Application Name";
    const auto longName = drawn(snapshot);
    ASSERT_EQ(longName[0].kind, CGDrawOperationKind::text);
    EXPECT_NE(longName[0].text.find("…"), std::string::npos);
}

TEST(MenuBarRow, TheActiveTileIsOpaqueWithItsNumberClearedToAFifth) {
    MenuBarRow::Snapshot snapshot;
    snapshot.count = 1;
    const NSImageRef image = MenuBarRow::image(snapshot);
    ASSERT_TRUE(image->isTemplate());
    EXPECT_EQ(image->size(), (CGSize{39, 18}));
    const CGImageRef pixels = image->CGImageForScale(1);
    ASSERT_TRUE(pixels);
    // Inside the tile, away from the number: black and opaque.
    EXPECT_EQ(*pixels->pixel(22, 9), (CGPixel{0, 0, 0, 255}));
    EXPECT_EQ(pixels->pixel(33, 4)->alpha, 255);
    // The number's strokes keep a fifth of the tile.
    int least = 255;
    for (int x = 21; x < 34; ++x)
        for (int y = 3; y < 16; ++y)
            least = std::min(least, pixels->pixel(x, y)->alpha);
    EXPECT_NEAR(least, 51, 3);
    // Outside the tile and the mark nothing is drawn.
    EXPECT_EQ(pixels->pixel(37, 9)->alpha, 0);
    EXPECT_EQ(pixels->pixel(19, 0)->alpha, 0);
}

TEST(MenuBarRow, TheRoundedFontFallsBackToThePlainOne) {
    const NSFontRef rounded = MenuBarRow::roundedFont(11, NSFontWeightSemibold);
    EXPECT_EQ(rounded->pointSize(), 11);
    EXPECT_EQ(rounded->design(), NSFontDesign::rounded);
    EXPECT_EQ(MenuBarRow::nameFont()->pointSize(), 12);
}

}  // namespace
}  // namespace kelvo
