// The colour tokens, the colour well's hex form, the chrome mark's size and the banner blocks.

#include <gtest/gtest.h>

#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/ChromeMark.h"
#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/ViewNode.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using SwiftUI::Color;
using SwiftUI::LayoutNode;
using SwiftUI::NodeKind;
using testing::LaidOutView;

TEST(Palette, EveryTokenHasItsColour) {
    EXPECT_EQ(hexString(Palette::tile()), "#2E3F68");
    EXPECT_EQ(Palette::accent(), Color(34 / 255.0, 211 / 255.0, 238 / 255.0));
    EXPECT_EQ(Palette::background(), Color(0.043, 0.055, 0.086));
    EXPECT_EQ(Palette::chrome(), Color(0.067, 0.081, 0.118));
    EXPECT_EQ(Palette::card(), Color(0.086, 0.102, 0.145));
    EXPECT_EQ(Palette::stroke(), Color(1, 1, 1, 0.06));
    EXPECT_EQ(Palette::hairline(), Color(1, 1, 1, 0.045));
    EXPECT_EQ(Palette::title(), Color(1, 1, 1, 0.94));
    EXPECT_EQ(Palette::label(), Color(1, 1, 1, 0.82));
    EXPECT_EQ(Palette::dim(), Color(1, 1, 1, 0.42));
    EXPECT_EQ(Palette::caution(), Color(0.95, 0.72, 0.33, 0.86));
    EXPECT_EQ(Palette::warning(), Color(1.0, 0.72, 0.35));
    EXPECT_EQ(Palette::good(), Color(0.45, 0.83, 0.62));
}

TEST(ChromeMark, IsRenderedAtTheScreensScaleOrTwiceWithoutAScreen) {
    EXPECT_EQ(ChromeMark::pixels(nullptr), 44);
    const auto screen =
        std::make_shared<const NSScreen>(1, CGRect(0, 0, 1440, 900), CGRect(0, 0, 1440, 875));
    EXPECT_EQ(ChromeMark::pixels(screen), 22);
}

TEST(Banners, ANoticeIsTheWarningSymbolAndWrappingTextOnATintedCard) {
    const std::string text =
        "Kelvo could not save the shortcut because another command already uses that chord";
    LaidOutView laid(notice(text).id("notice"), {240, 400});
    const LayoutNode& block = laid.id("notice");
    const LayoutNode* symbol = block.findKind(NodeKind::image);
    const LayoutNode* words = block.findKind(NodeKind::text);
    ASSERT_TRUE(symbol && words);
    EXPECT_EQ(symbol->text, "exclamationmark.triangle.fill");
    EXPECT_EQ(symbol->color, Palette::warning());
    // The symbol, then the words beside it at their top, which wrap within the block.
    EXPECT_LT(symbol->frame.maxX(), words->frame.minX());
    EXPECT_DOUBLE_EQ(words->frame.minY(), symbol->frame.minY());
    EXPECT_LT(words->frame.maxX(), block.frame.maxX());
    EXPECT_GT(words->frame.height(), 20);
    // The card under it is tinted with the warning colour.
    const LayoutNode* fill = block.find([](const LayoutNode& node) {
        return node.kind == NodeKind::roundedRectangle &&
               node.color == Palette::warning().opacity(0.1);
    });
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->frame, block.frame);
}

TEST(Banners, ACautionIsTheInfoSymbolInTheCautionColour) {
    LaidOutView laid(caution("Only for this Mac").id("caution"), {300, 100});
    const LayoutNode* symbol = laid.id("caution").findKind(NodeKind::image);
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->text, "info.circle.fill");
    EXPECT_EQ(symbol->color, Palette::caution());
}

}  // namespace
}  // namespace kelvo
