#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/TextLayout.h"
#include "Support/Platform/DrawingCanvas.h"

namespace {

using kelvo::testing::DrawingCanvas;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
const std::string sample = "Kelvo - desktop 3 of 9";

NSAttributedString text(const std::string& string, CGFloat size,
                        NSFontWeight weight = NSFontWeightRegular,
                        std::optional<NSParagraphStyle> style = std::nullopt) {
    NSTextAttributes attributes;
    attributes.font = NSFont::systemFontOfSize(size, weight);
    attributes.paragraphStyle = style;
    return NSAttributedString(string, attributes);
}

NSParagraphStyle truncatingTail(NSTextAlignment alignment = NSTextAlignment::natural) {
    NSParagraphStyle style;
    style.alignment = alignment;
    style.lineBreakMode = NSLineBreakMode::byTruncatingTail;
    return style;
}

TEST(TextMeasurementTest, AFixedStringMeasuresTheSameAtTheSizesTheWindowsUse) {
    // Carlito at one pixel a point, without hinting: the same numbers on every machine. A line
    // is its ascender and descender (2048 units of its 2048 to the em) and the leading the font
    // asks for (452 units), as the platform's text system sets it.
    constexpr CGFloat lineHeight = (2048.0 + 452.0) / 2048.0;
    const struct {
        CGFloat size;
        CGFloat width;
        CGFloat height;
    } expected[] = {
        {11, 95.9561, 11 * lineHeight},
        {12, 104.6719, 12 * lineHeight},
        {13, 113.4014, 13 * lineHeight},
        {20, 174.4531, 20 * lineHeight},
    };
    for (const auto& e : expected) {
        const CGSize size = text(sample, e.size).size();
        EXPECT_NEAR(size.width, e.width, 0.001) << e.size;
        EXPECT_NEAR(size.height, e.height, 0.001) << e.size;
    }
}

TEST(TextMeasurementTest, WeightsDesignsAndSpacingChangeTheWidth) {
    const CGFloat regular = text(sample, 13).size().width;
    EXPECT_GT(text(sample, 13, NSFontWeightSemibold).size().width, regular);
    // Medium is drawn with the regular face, the family's nearest.
    EXPECT_EQ(text(sample, 13, NSFontWeightMedium).size().width, regular);
    NSTextAttributes mono;
    mono.font = NSFont::monospacedSystemFontOfSize(12, NSFontWeightRegular);
    EXPECT_NEAR(NSAttributedString("iiii", mono).size().width,
                NSAttributedString("WWWW", mono).size().width, 1e-9);
    NSTextAttributes spaced;
    spaced.font = NSFont::systemFontOfSize(10, NSFontWeightSemibold);
    const CGFloat tight = NSAttributedString("NORMAL", spaced).size().width;
    spaced.tracking = 0.6;
    // The spacing goes between the six letters.
    EXPECT_NEAR(NSAttributedString("NORMAL", spaced).size().width, tight + 5 * 0.6, 0.01);
    EXPECT_EQ(NSAttributedString().size(), CGSize{});
    EXPECT_EQ(text("", 13).size(), CGSize{});
}

TEST(TextMeasurementTest, RunsOfDifferentFontsAndColoursMeasureAsOneLine) {
    NSAttributedString title = text("Shortcuts", 14);
    NSTextAttributes chord;
    chord.font = NSFont::menuFontOfSize(0);
    chord.foregroundColor = NSColor::secondaryLabelColor();
    title.append(NSAttributedString("   ⌥/", chord));
    EXPECT_EQ(title.string(), "Shortcuts   ⌥/");
    const CGSize both = title.size();
    EXPECT_GT(both.width, text("Shortcuts", 14).size().width + 10);
    // One line, as high as its highest font: ⌥ comes from DejaVu Sans, which the system
    // family lacks it for.
    EXPECT_GE(both.height, text("Shortcuts", 14).size().height);
    EXPECT_LT(both.height, 1.5 * text("Shortcuts", 14).size().height);
}

TEST(TextTruncationTest, ATailTruncatedLineEndsInAnEllipsisInsideTheWidth) {
    const NSAttributedString name =
        text("System Settings Helper With A Very Long Name", 12, NSFontWeightRegular,
             truncatingTail(NSTextAlignment::right));
    const auto lines = name.layout(90);
    EXPECT_TRUE(lines->isTruncated());
    EXPECT_EQ(lines->lineCount(), 1);
    const std::string shown = lines->displayedText();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "…");
    EXPECT_EQ(shown.rfind("System", 0), 0u);
    EXPECT_LE(lines->size().width, 90);
    EXPECT_GT(lines->size().width, 60);
    // A name that fits is left whole.
    const auto whole = text("Safari", 12, NSFontWeightRegular, truncatingTail()).layout(90);
    EXPECT_FALSE(whole->isTruncated());
    EXPECT_EQ(whole->displayedText(), "Safari");
}

TEST(TextTruncationTest, WordWrappingTakesAsManyLinesAsItNeeds) {
    const auto lines =
        text("Every one of these is rebindable in Settings ▸ Shortcuts", 11).layout(120);
    EXPECT_GE(lines->lineCount(), 3);
    EXPECT_LE(lines->size().width, 120);
    EXPECT_FALSE(lines->isTruncated());
    EXPECT_NE(lines->displayedText().find('\n'), std::string::npos);
}

TEST(TextTruncationTest, AWordTooLongForItsLineBreaksBetweenCharactersWithoutAHyphen) {
    const CGFloat two = text("mm", 11).layout(std::nullopt)->size().width;
    const CGFloat three = text("mmm", 11).layout(std::nullopt)->size().width;
    const auto lines = text("mmmm", 11).layout(three - 1);
    EXPECT_EQ(lines->lineCount(), 2);
    EXPECT_EQ(lines->displayedText(), "mm\nmm");
    // A hyphen after the first half would widen that line past the second.
    EXPECT_NEAR(lines->size().width, two, 0.01);
}

/// Drawing into a recording context whose user space runs top-down, as a flipped image's does.
class TextDrawingTest : public ::testing::Test {
  protected:
    TextDrawingTest() {
        recording.translateBy(0, 18);
        recording.scaleBy(1, -1);
    }
    CGRecordingContext recording{CGSize{276, 18}};
    NSGraphicsContext graphics{recording, true};
    NSGraphicsContextScope scope{graphics};
};

TEST_F(TextDrawingTest, DrawingInARectangleRecordsTheRunItsFontAndTheRectangle) {
    const NSAttributedString name = text("A Rather Long Application Name", 12, NSFontWeightRegular,
                                         truncatingTail(NSTextAlignment::right));
    const CGFloat h = name.size().height;
    const CGRect band(4, 9 - h / 2, 90, h);
    name.drawWithRect(band, NSStringDrawingUsesLineFragmentOrigin);
    const auto runs = recording.operations(CGDrawOperationKind::text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text->box, band);
    EXPECT_EQ(runs[0].text->fontName, "Carlito Regular");
    EXPECT_EQ(runs[0].text->pointSize, 12);
    const std::string& shown = runs[0].text->text;
    EXPECT_EQ(shown.substr(shown.size() - 3), "…");
}

TEST_F(TextDrawingTest, DrawingAtAPointPutsItAtTheTopLeftOfAFlippedContext) {
    NSTextAttributes number;
    number.font = NSFont::systemFontOfSize(11, NSFontWeightSemibold);
    number.foregroundColor = NSColor::colorWithWhite(0, 0.8);
    const NSAttributedString three("3", number);
    graphics.setCompositingOperation(NSCompositingOperation::destinationOut);
    three.drawAtPoint({40, 2});
    const auto& op = recording.operations().at(0);
    EXPECT_EQ(op.blendMode, CGBlendMode::destinationOut);
    EXPECT_EQ(op.text->text, "3");
    EXPECT_EQ(op.text->color.alpha, 0.8);
    EXPECT_EQ(op.text->fontName, "Carlito Bold");
    EXPECT_EQ(op.text->box.origin, (CGPoint{40, 2}));
    EXPECT_EQ(op.text->box.size, three.size());
}

TEST(TextPixelsTest, TextIsDrawnUprightInItsColourWhicheverWayUserSpaceRuns) {
    NSTextAttributes white;
    white.font = NSFont::systemFontOfSize(20, NSFontWeightBold);
    white.foregroundColor = NSColor::whiteColor();
    const NSAttributedString bar("▀", white);  // a block in the upper half of the line
    for (const bool flipped : {false, true}) {
        DrawingCanvas canvas(CGSize{40, 40}, flipped);
        bar.drawInRect(CGRect(5, flipped ? 5 : 10, 30, 25));
        const CGImageRef image = canvas.image();
        // The block lies near the top of the rectangle, which is rows 5 to 30 either way.
        EXPECT_EQ(image->pixel(15, 10).value(), (CGPixel{255, 255, 255, 255})) << flipped;
        EXPECT_EQ(image->pixel(15, 27)->alpha, 0) << flipped;
    }
}

TEST(TextPixelsTest, RightAlignedTextEndsAtTheRightOfItsRectangle) {
    DrawingCanvas canvas(CGSize{100, 20}, false);
    NSParagraphStyle right;
    right.alignment = NSTextAlignment::right;
    NSTextAttributes attributes;
    attributes.font = NSFont::systemFontOfSize(14);
    attributes.paragraphStyle = right;
    NSAttributedString("ll", attributes).drawInRect(CGRect(0, 0, 100, 20));
    const CGImageRef image = canvas.image();
    int leftmost = 100;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; ++y)
            if (image->pixel(x, y)->alpha > 0) leftmost = std::min(leftmost, x);
    EXPECT_GT(leftmost, 85);
}

TEST(TextInputTest, LongBrokenOrEmptyTextNeverBreaksTheTextSystem) {
    const std::string longest(100000, 'x');
    const NSAttributedString huge = text(longest, 13);
    const CGSize size = huge.size();
    EXPECT_TRUE(std::isfinite(size.width));
    EXPECT_GT(size.width, 100000);
    const auto cut = text(longest, 13, NSFontWeightRegular, truncatingTail()).layout(200);
    EXPECT_LE(cut->size().width, 200);
    EXPECT_TRUE(cut->isTruncated());
    // Wrapped into a narrow column, it is cut short rather than holding the main loop.
    const std::string column = huge.layout(50)->displayedText();
    EXPECT_TRUE(column.ends_with("…"));
    EXPECT_LT(column.size(), 2 * TextLayout::longestWrappedText);

    const NSAttributedString broken = text(std::string("ab\xff\xfe\xc3(\0cd", 9), 13);
    EXPECT_GT(broken.size().width, 0);
    const std::string shown = broken.layout(std::nullopt)->displayedText();
    EXPECT_NE(shown.find("\xEF\xBF\xBD"), std::string::npos);  // U+FFFD
    EXPECT_EQ(shown.rfind("ab", 0), 0u);

    DrawingCanvas canvas(CGSize{50, 20}, false);
    huge.drawInRect(CGRect(0, 0, 50, 20));
    broken.drawAtPoint({0, 0});
    text(sample, 12).drawInRect(CGRect(nan, 0, 10, 10));
    text(sample, 12).drawInRect(CGRect(0, 0, -10, 10));
    text(sample, 12).layout(nan);
    EXPECT_GT(text(sample, 12).layout(-5)->lineCount(), 0);
    EXPECT_TRUE(canvas.image());
}

TEST(TextWithoutAContextTest, DrawingWithNoCurrentContextDoesNothing) {
    ASSERT_EQ(NSGraphicsContext::currentContext(), nullptr);
    text(sample, 12).drawAtPoint({0, 0});
    text(sample, 12).drawInRect(CGRect(0, 0, 10, 10));
}

TEST(NSFontTest, TheSystemFontMapsOntoCarlitoBySizeWeightAndDesign) {
    EXPECT_EQ(NSFont::systemFontOfSize(0)->pointSize(), NSFont::systemFontSize);
    EXPECT_EQ(NSFont::systemFontOfSize(nan)->pointSize(), NSFont::systemFontSize);
    EXPECT_EQ(NSFont::systemFontOfSize(-3)->pointSize(), NSFont::systemFontSize);
    EXPECT_EQ(NSFont::systemFontOfSize(1e9)->pointSize(), NSFont::maximumPointSize);
    EXPECT_EQ(NSFont::menuFontOfSize(0)->pointSize(), 14);
    EXPECT_EQ(NSFont::systemFontOfSize(12)->displayName(), "Carlito Regular");
    // Each weight takes the family's nearest face: Carlito has a regular and a bold one.
    EXPECT_EQ(NSFont::systemFontOfSize(12, NSFontWeightMedium)->displayName(), "Carlito Regular");
    EXPECT_EQ(NSFont::systemFontOfSize(12, NSFontWeightSemibold)->displayName(), "Carlito Bold");
    EXPECT_EQ(NSFont::systemFontOfSize(96, NSFontWeightBold)->displayName(), "Carlito Bold");
    EXPECT_EQ(NSFont::systemFontOfSize(12, NSFontWeightLight)->displayName(), "Carlito Regular");
    EXPECT_EQ(NSFont::systemFontOfSize(12, NSFontWeightBlack)->displayName(), "Carlito Bold");
    EXPECT_EQ(NSFont::monospacedSystemFontOfSize(12.5, NSFontWeightMedium)->displayName(),
              "DejaVu Sans Mono Book");
    const NSFontRef semibold = NSFont::systemFontOfSize(11, NSFontWeightSemibold);
    const auto rounded =
        semibold->fontDescriptor()->fontDescriptorWithDesign(NSFontDesign::rounded);
    ASSERT_TRUE(rounded);
    const NSFontRef roundedFont = NSFont::fontWithDescriptor(*rounded, 0);
    ASSERT_TRUE(roundedFont);
    EXPECT_EQ(roundedFont->pointSize(), 11);
    EXPECT_EQ(roundedFont->displayName(), "Carlito Bold");
    EXPECT_FALSE(semibold->fontDescriptor()->fontDescriptorWithDesign(NSFontDesign::serif));
    const NSFontRef thirteen = NSFont::systemFontOfSize(13);
    EXPECT_GT(thirteen->ascender(), 9);
    EXPECT_LT(thirteen->ascender(), 14);
    EXPECT_LT(thirteen->descender(), 0);
    EXPECT_GT(thirteen->descender(), -5);
}

}  // namespace
