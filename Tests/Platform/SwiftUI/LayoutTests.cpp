// The layout rules, each with numbers worked by hand: what a parent proposes, what a child
// chooses, and where the stacks, frames, paddings, layers and scroll views put them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Foundation/ManualClock.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/TextMeasurer.h"
#include "Platform/SwiftUI/ViewGraph.h"
#include "Platform/SwiftUI/ViewNode.h"

using namespace SwiftUI;

namespace {

/// Lays `view` out at `size` and keeps the graph (the tree lives in it).
struct Laid {
    explicit Laid(View view, CGSize size) : graph([view] { return view; }) { graph.layout(size); }
    const LayoutNode& tree() const { return graph.tree(); }
    const LayoutNode& id(const std::string& identifier) const {
        const LayoutNode* found = tree().findIdentifier(identifier);
        if (!found) throw std::runtime_error("no view " + identifier + "\n" + tree().describe());
        return *found;
    }
    ViewGraph graph;
};

View block(CGFloat width, CGFloat height, const std::string& name) {
    return Color::white().view().frame(width, height).id(name);
}

CGSize naturalSize(const Text& text) {
    ViewGraph graph([text] { return text; });
    return graph.fittingSize();
}

const std::string longText =
    "Every one of these is rebindable in Settings, and the keys you press are the ones shown "
    "here, so a glance is enough to remember which chord does what on which desktop.";

TEST(StackLayout, TwoFixedViewsAndASpacerShareTwoHundredPoints) {
    // 60 + 8 + spacer + 8 + 60 = 200: the spacer takes the 64 left.
    Laid laid(HStack({block(60, 20, "left"), Spacer().id("gap"), block(60, 20, "right")}),
              {200, 20});
    EXPECT_EQ(laid.id("left").frame, CGRect(0, 0, 60, 20));
    EXPECT_DOUBLE_EQ(laid.id("gap").frame.minX(), 68);
    EXPECT_DOUBLE_EQ(laid.id("gap").frame.width(), 64);
    EXPECT_EQ(laid.id("right").frame, CGRect(140, 0, 60, 20));
}

TEST(StackLayout, TwoFixedViewsAndASpacerOverflowFiftyPointsCentred) {
    // 60 + 8 + 8 (the spacer's minimum) + 8 + 60 = 144, centred in 50: starts at -47.
    Laid laid(HStack({block(60, 20, "left"), Spacer().id("gap"), block(60, 20, "right")}),
              {50, 20});
    EXPECT_DOUBLE_EQ(laid.id("left").frame.minX(), -47);
    EXPECT_DOUBLE_EQ(laid.id("gap").frame.minX(), 21);
    EXPECT_DOUBLE_EQ(laid.id("gap").frame.width(), 8);
    EXPECT_DOUBLE_EQ(laid.id("right").frame.minX(), 37);
}

TEST(StackLayout, TwoFixedTextsKeepTheirWidthsAtAnyOffer) {
    const Text name("Terminal");
    const Text badge("Desktop 3");
    const CGSize a = naturalSize(name);
    const CGSize b = naturalSize(badge);
    for (CGFloat width : {200.0, 50.0}) {
        Laid laid(
            HStack({View(name).fixedSize().id("a"), Spacer(), View(badge).fixedSize().id("b")}),
            {width, 40});
        EXPECT_DOUBLE_EQ(laid.id("a").frame.width(), a.width) << width;
        EXPECT_DOUBLE_EQ(laid.id("b").frame.width(), b.width) << width;
        const CGFloat total = std::max(width, a.width + b.width + 24);
        EXPECT_NEAR(laid.id("b").frame.maxX() - laid.id("a").frame.minX(), total, 1e-9) << width;
    }
}

TEST(StackLayout, FlexibleViewsShareEvenlyAfterTheFixedOnesLeastFlexibleFirst) {
    // 208 - 2 × 8 spacing - 48 fixed = 144 for the two flexible colours.
    Laid laid(HStack({Color::white().view().id("a"), block(48, 10, "fixed"),
                      Color::black().view().id("b")}),
              {208, 10});
    EXPECT_DOUBLE_EQ(laid.id("a").frame.width(), 72);
    EXPECT_DOUBLE_EQ(laid.id("fixed").frame.minX(), 80);
    EXPECT_DOUBLE_EQ(laid.id("b").frame.width(), 72);
    EXPECT_DOUBLE_EQ(laid.id("b").frame.minX(), 136);
}

TEST(StackLayout, OfferedTheSumOfItsChildrensIdealsAStackGivesEachItsIdeal) {
    // A key cap and its label: the cap's fixed-size text in a frame at least 11 wide, padded 6
    // on either side, is 23 wide at least and its text's width + 12 at most, so it is the less
    // flexible and is offered first; the label is narrower than the cap. Laid out at the
    // stack's own ideal width, neither is squeezed.
    const Font capFont = Font::system(11, Font::Weight::medium, Font::Design::rounded);
    const Text capText = Text("esc").font(capFont);
    const Text labelText = Text("close").font(Font::system(11));
    const View item = HStack(VerticalAlignment::center, 6,
                             {View(capText)
                                  .fixedSize()
                                  .id("text")
                                  .frame(FlexibleFrame{.minWidth = 11})
                                  .padding(EdgeInsets{2, 6, 2, 6})
                                  .id("cap"),
                              View(labelText).id("label")});
    const CGFloat text = naturalSize(capText).width;
    const CGFloat label = naturalSize(labelText).width;
    ASSERT_GT(text, 11);
    ASSERT_LT(label, text + 12);
    ViewGraph sizing([item] { return item; });
    const CGSize ideal = sizing.fittingSize();
    EXPECT_DOUBLE_EQ(ideal.width, text + 12 + 6 + label);
    Laid laid(item, ideal);
    const CGRect cap = laid.id("cap").frame;
    EXPECT_DOUBLE_EQ(cap.width(), text + 12);
    EXPECT_DOUBLE_EQ(laid.id("label").frame.width(), label);
    // The text lies within its plate, 6 in from either side.
    EXPECT_DOUBLE_EQ(laid.id("text").frame.minX(), cap.minX() + 6);
    EXPECT_DOUBLE_EQ(laid.id("text").frame.maxX(), cap.maxX() - 6);
}

TEST(StackLayout, LikeSpacersShareWhatIsLeftEvenly) {
    // 200 - 3 × 8 spacing - 2 × 40 = 96 for the two spacers: 48 each.
    Laid laid(HStack({block(40, 10, "a"), Spacer().id("first"), block(40, 10, "b"),
                      Spacer().id("second")}),
              {200, 10});
    EXPECT_DOUBLE_EQ(laid.id("first").frame.width(), 48);
    EXPECT_DOUBLE_EQ(laid.id("second").frame.width(), 48);
    EXPECT_DOUBLE_EQ(laid.id("b").frame.minX(), 104);
}

TEST(StackLayout, AVerticalStackWithoutSpacingAddsItsHeightsExactly) {
    // The launcher's panel: a query row of 60, then with rows a separator, the list padded 8
    // above and below, rows of 52, another separator and the hint bar of 34.
    auto panel = [](int rows) {
        std::vector<View> list;
        for (int i = 0; i < rows; ++i)
            list.push_back(Color::clear().view().frame(std::nullopt, 52));
        std::vector<View> content{Color::clear().view().frame(std::nullopt, 60)};
        if (rows > 0) {
            content.push_back(
                Rectangle().fill(Color::white().opacity(0.08)).frame(std::nullopt, 1));
            content.push_back(
                VStack(HorizontalAlignment::center, 0, list).padding(Edges::vertical(), 8));
            content.push_back(
                Rectangle().fill(Color::white().opacity(0.08)).frame(std::nullopt, 1));
            content.push_back(Color::clear().view().frame(std::nullopt, 34));
        }
        return VStack(HorizontalAlignment::center, 0, content);
    };
    for (int rows : {0, 1, 3, 8}) {
        ViewGraph graph([&] { return panel(rows); });
        const CGFloat expected = rows == 0 ? 60 : 52.0 * rows + 112;
        EXPECT_DOUBLE_EQ(graph.fittingSize({640.0, std::nullopt}).height, expected) << rows;
    }
}

TEST(StackLayout, ATreeCopiedOutOfItsGraphOutlivesTheGraph) {
    const LayoutNode copy = [] {
        Laid laid(VStack({block(10, 10, "a"), block(10, 10, "b")}), {100, 100});
        return LayoutNode(laid.tree());
    }();
    const LayoutNode* b = copy.findIdentifier("b");
    ASSERT_NE(b, nullptr) << copy.describe();
    EXPECT_EQ(b->frame, CGRect(45, 54, 10, 10));
}

TEST(StackLayout, ASpacerKeepsItsMinimumLength) {
    Laid laid(HStack(VerticalAlignment::center, 0,
                     {block(100, 10, "a"), Spacer(20).id("gap"), block(100, 10, "b")}),
              {200, 10});
    EXPECT_DOUBLE_EQ(laid.id("gap").frame.width(), 20);
    EXPECT_DOUBLE_EQ(laid.id("b").frame.minX() - laid.id("a").frame.minX(), 120);
}

TEST(StackLayout, CrossAlignmentPlacesShorterChildren) {
    Laid top(HStack(VerticalAlignment::top, 0, {block(10, 40, "tall"), block(10, 10, "short")}),
             {20, 40});
    EXPECT_DOUBLE_EQ(top.id("short").frame.minY(), 0);
    Laid bottom(
        HStack(VerticalAlignment::bottom, 0, {block(10, 40, "tall"), block(10, 10, "short")}),
        {20, 40});
    EXPECT_DOUBLE_EQ(bottom.id("short").frame.minY(), 30);
    Laid trailing(
        VStack(HorizontalAlignment::trailing, 0, {block(40, 10, "wide"), block(10, 10, "narrow")}),
        {40, 20});
    EXPECT_DOUBLE_EQ(trailing.id("narrow").frame.minX(), 30);
}

TEST(StackLayout, FirstTextBaselinesLineUp) {
    Laid laid(HStack(VerticalAlignment::firstTextBaseline, 10,
                     {View(Text("Large").font(Font::system(24))).id("large"),
                      View(Text("small").font(Font::system(11))).id("small"), block(10, 4, "box")}),
              {300, 100});
    ViewGraph large([] { return Text("Large").font(Font::system(24)); });
    ViewGraph small([] { return Text("small").font(Font::system(11)); });
    const CGFloat largeBaseline =
        *baselineOf(Text("Large").font(Font::system(24)), large.fittingSize(), EnvironmentValues{});
    const CGFloat smallBaseline =
        *baselineOf(Text("small").font(Font::system(11)), small.fittingSize(), EnvironmentValues{});
    EXPECT_GT(largeBaseline, smallBaseline);
    EXPECT_NEAR(laid.id("large").frame.minY() + largeBaseline,
                laid.id("small").frame.minY() + smallBaseline, 1e-9);
    // A view without text sits on the baseline with its bottom edge.
    EXPECT_NEAR(laid.id("box").frame.maxY(), laid.id("large").frame.minY() + largeBaseline, 1e-9);
}

TEST(TextLayout, WrapsAtWordsToFourHundredPointsWithoutCutting) {
    Laid laid(View(Text(longText)).id("text"), {400, 1000});
    const LayoutNode& text = laid.id("text");
    const CGSize oneLine = naturalSize(Text("Every"));
    EXPECT_LE(text.frame.width(), 400);
    EXPECT_GT(text.frame.width(), 300);
    const int lines = static_cast<int>(std::lround(text.frame.height() / oneLine.height));
    EXPECT_GE(lines, 2);
    EXPECT_NEAR(text.frame.height(), lines * oneLine.height, 0.5);
    EXPECT_EQ(text.text.find("…"), std::string::npos);
    EXPECT_NE(text.text.find('\n'), std::string::npos);
}

TEST(TextLayout, OneLineIsCutAtTheTailWithAnEllipsis) {
    Laid laid(View(Text(longText)).lineLimit(1).id("text"), {120, 100});
    const LayoutNode& text = laid.id("text");
    EXPECT_LE(text.frame.width(), 120);
    EXPECT_EQ(text.text.substr(text.text.size() - std::string("…").size()), "…");
    EXPECT_EQ(text.text.find('\n'), std::string::npos);
    EXPECT_EQ(text.text.rfind("Every", 0), 0u);
}

TEST(TextLayout, TakesNoMoreLinesThanTheHeightAllows) {
    const CGFloat line = naturalSize(Text("Every")).height;
    Laid laid(View(Text(longText)).id("text"), {200, line * 1.5});
    EXPECT_NEAR(laid.id("text").frame.height(), line, 0.5);
    EXPECT_NE(laid.id("text").text.find("…"), std::string::npos);
    Laid two(View(Text(longText)).id("text"), {200, line * 2.5});
    EXPECT_NEAR(two.id("text").frame.height(), 2 * line, 0.5);
    const std::string shown = two.id("text").text;
    EXPECT_EQ(shown.substr(shown.size() - std::string("…").size()), "…");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1);
    // Fixed vertically, it takes all its lines whatever the height offered.
    Laid free(View(Text(longText)).fixedSize(false, true).id("text"), {200, line * 1.5});
    EXPECT_GT(free.id("text").frame.height(), line * 3);
    EXPECT_EQ(free.id("text").text.find("…"), std::string::npos);
}

TEST(TextLayout, ASymbolFromAnotherFontMakesOneLineHigherAndCutsNone) {
    // The system family has no ⇧: its line is set in the symbols' font, higher than the others.
    const std::string mixed =
        "Find an application by name. Enter goes to its window or launches it; ⇧Enter brings "
        "the window to this desktop instead.";
    EXPECT_GT(naturalSize(Text("⇧")).height, naturalSize(Text("Every")).height);
    for (const CGFloat width : {114.0, 208.0, 316.0}) {
        Laid laid(View(Text(mixed)).fixedSize(false, true).frame(width, std::nullopt), {400, 400});
        const LayoutNode* found = laid.tree().findKind(NodeKind::text);
        ASSERT_TRUE(found);
        const LayoutNode& text = *found;
        EXPECT_EQ(text.text.find("…"), std::string::npos) << width << ": " << text.text;
        EXPECT_NE(text.text.find("instead."), std::string::npos) << width << ": " << text.text;
    }
}

TEST(TextLayout, ReportsFontAndColourOfItsRuns) {
    Laid laid(View(Text("Shortcuts")
                       .font(Font::system(15, Font::Weight::semibold))
                       .foregroundColor(Color::white().opacity(0.94)))
                  .id("title"),
              {300, 40});
    const LayoutNode& title = laid.id("title");
    EXPECT_EQ(title.text, "Shortcuts");
    EXPECT_EQ(title.font, Font::system(15, Font::Weight::semibold));
    EXPECT_EQ(title.color, Color::white().opacity(0.94));
    // The environment's font and colour reach text that sets none.
    Laid inherited(View(Text("Hi")).id("hi").font(Font::system(11)).foregroundColor(Color::black()),
                   {100, 40});
    EXPECT_EQ(inherited.id("hi").font, Font::system(11));
    EXPECT_EQ(inherited.id("hi").color, Color::black());
}

TEST(TextLayout, ATextKeptAcrossPassesIsSetAgainInTheFontItsEnvironmentChangesTo) {
    ManualClock clock;
    const View label = View(Text("Keyboard shortcuts")).id("label");
    CGFloat size = 11;
    ViewGraph graph([&] { return label.font(Font::system(size)); });
    const auto width = [&] { return graph.tree().findIdentifier("label")->frame.width(); };
    graph.layout({400, 100});
    const CGFloat small = width();
    size = 22;
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(graph.tree().findIdentifier("label")->font, Font::system(22));
    EXPECT_NEAR(width(), 2 * small, 2);
    size = 11;
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_DOUBLE_EQ(width(), small);
}

TEST(TextLayout, ATextsSettingsAreForgottenWithTheRestWhenTheMeasurerIsFull) {
    TextMeasurer measurer;
    const NSAttributedString heading("Keyboard shortcuts");
    int made = 0;
    const auto make = [&]() -> const NSAttributedString& {
        ++made;
        return heading;
    };
    TextMeasurer::Handle handle;
    const CGSize natural =
        measurer.lines("heading", make, std::nullopt, std::nullopt, &handle).size;
    measurer.lines("heading", make, std::nullopt, std::nullopt, &handle);
    EXPECT_EQ(made, 1) << "found through the handle, not set again";
    // A text asked at ever new widths (a window resized by hand) fills the measurer: it
    // forgets everything, what the text's handle points at included.
    for (std::size_t i = 0; i < TextMeasurer::capacity; ++i)
        measurer.lines("heading", make, 10.0 + static_cast<double>(i), std::nullopt, &handle);
    const int before = made;
    EXPECT_EQ(measurer.lines("heading", make, std::nullopt, std::nullopt, &handle).size, natural);
    EXPECT_EQ(made, before + 1);
}

TEST(TextLayout, AModifierLeavesEveryOtherHolderOfTheTextAsItWas) {
    Text title("Shortcuts");
    const View kept = View(title).id("kept");
    const View bold = View(std::move(title).bold()).id("bold");
    Laid laid(VStack({kept, bold}), {300, 100});
    EXPECT_EQ(laid.id("kept").font, Font::body());
    EXPECT_EQ(laid.id("bold").font, Font::body().bold());
}

TEST(FrameLayout, MaxWidthInfinityTakesTheWholeOfferWithLeadingAlignment) {
    Laid laid(VStack({View(Text("Hi"))
                          .id("hi")
                          .frame(FlexibleFrame{.maxWidth = infinity,
                                               .alignment = Alignment::leading()})}),
              {300, 50});
    const LayoutNode* frame = laid.tree().findKind(NodeKind::frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_DOUBLE_EQ(frame->frame.width(), 300);
    EXPECT_DOUBLE_EQ(laid.id("hi").frame.minX(), 0);
    EXPECT_LT(laid.id("hi").frame.width(), 30);
}

TEST(FrameLayout, MinimumsRaiseAndFixedLengthsReplace) {
    // A badge: at least 26 × 22 around a narrow text, centred.
    Laid laid(View(Text("3")).id("digit").frame(FlexibleFrame{.minWidth = 26, .minHeight = 22}),
              {300, 300});
    const LayoutNode* frame = laid.tree().findKind(NodeKind::frame);
    EXPECT_DOUBLE_EQ(frame->frame.width(), 26);
    EXPECT_DOUBLE_EQ(frame->frame.height(), 22);
    EXPECT_NEAR(laid.id("digit").frame.midX(), frame->frame.midX(), 1e-9);
    Laid fixed(block(10, 10, "inner").frame(30, 40, Alignment::bottomTrailing()), {100, 100});
    EXPECT_EQ(fixed.id("inner").frame, CGRect(55, 60, 10, 10));
    // At its ideal size a minimum-bounded frame is as wide as what it holds, not its minimum.
    Laid ideal(block(40, 10, "wide").frame(FlexibleFrame{.minWidth = 11}).fixedSize(), {300, 300});
    EXPECT_DOUBLE_EQ(ideal.tree().findKind(NodeKind::frame)->frame.width(), 40);
    EXPECT_DOUBLE_EQ(ideal.id("wide").frame.width(), 40);
}

TEST(FrameLayout, AFixedSizeControlBesideAFlexibleColumn) {
    // 500 wide: the 38-point switch keeps its size at the trailing edge, 18 apart from the
    // 12-point spacer; the text column takes what is left and wraps in it.
    const View row = HStack(VerticalAlignment::center, 18,
                            {View(Text(longText)).fixedSize(false, true).id("column"), Spacer(12),
                             block(38, 22, "switch").fixedSize()});
    Laid laid(row, {500, 400});
    EXPECT_DOUBLE_EQ(laid.id("switch").frame.minX(), 462);
    EXPECT_LE(laid.id("column").frame.width(), 500 - 38 - 12 - 36);
    EXPECT_GT(laid.id("column").frame.height(), naturalSize(Text("E")).height);
}

TEST(PaddingAndLayers, BackgroundAndOverlayTakeTheSizeOfWhatTheyDecorate) {
    Laid laid(
        block(40, 10, "content")
            .padding(EdgeInsets{3, 6, 3, 6})
            .background(RoundedRectangle(5, RoundedCornerStyle::continuous).fill(Color::black()))
            .overlay(Circle().stroke(Color::white())),
        {200, 200});
    const LayoutNode* background = laid.tree().findKind(NodeKind::roundedRectangle);
    const LayoutNode* overlay = laid.tree().findKind(NodeKind::circle);
    ASSERT_NE(background, nullptr);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(background->frame, CGRect(74, 92, 52, 16));
    EXPECT_EQ(overlay->frame, background->frame);
    EXPECT_EQ(laid.id("content").frame, CGRect(80, 95, 40, 10));
}

TEST(PaddingAndLayers, ZStackAlignsItsChildren) {
    Laid laid(ZStack(Alignment::topTrailing(), {block(100, 50, "big"), block(10, 10, "small")}),
              {100, 50});
    EXPECT_EQ(laid.id("small").frame, CGRect(90, 0, 10, 10));
}

TEST(ScrollLayout, ScrollsToAnIdAtTheCentreAndStopsAtTheEnd) {
    // 50 rows of 20 in a 100-high scroll view: row 30 spans 600 to 620 of the content; its
    // centre (610) at the viewport's centre (50) needs an offset of 560.
    std::optional<ScrollViewProxy> proxy;
    ViewGraph graph([&] {
        return ScrollViewReader([&](const ScrollViewProxy& reader) {
            proxy = reader;
            std::vector<View> rows;
            for (int i = 0; i < 50; ++i)
                rows.push_back(block(100, 20, "row-" + std::to_string(i)));
            return ScrollView(VStack(HorizontalAlignment::center, 0, rows));
        });
    });
    graph.layout({100, 100});
    EXPECT_DOUBLE_EQ(graph.tree().findIdentifier("row-0")->frame.minY(), 0);
    proxy->scrollTo("row-30", UnitPoint::center());
    graph.layout({100, 100});
    EXPECT_DOUBLE_EQ(graph.tree().findIdentifier("row-30")->frame.minY(), 40);
    proxy->scrollTo("row-49", UnitPoint::center());
    graph.layout({100, 100});
    // The last row cannot come higher than the bottom: the offset stops at 1000 - 100.
    EXPECT_DOUBLE_EQ(graph.tree().findIdentifier("row-49")->frame.minY(), 80);
    proxy->scrollTo("no-such-row", UnitPoint::center());
    graph.layout({100, 100});
    EXPECT_DOUBLE_EQ(graph.tree().findIdentifier("row-49")->frame.minY(), 80);
    // Rows outside the viewport take no clicks.
    const LayoutNode* scroll = graph.tree().findKind(NodeKind::scrollView);
    EXPECT_TRUE(scroll->clipsChildren);
    EXPECT_EQ(scroll->frame, CGRect(0, 0, 100, 100));
}

// A person scrolls with the wheel over the view: the content moves by the wheel's points, stops
// at either end, and a wheel over no scroll view moves nothing.
TEST(ScrollLayout, TheWheelMovesTheContentAsFarAsItGoes) {
    std::vector<View> rows;
    for (int i = 0; i < 50; ++i)
        rows.push_back(block(100, 20, "row-" + std::to_string(i)));
    ViewGraph graph([rows] {
        return VStack(
            HorizontalAlignment::center, 0,
            {block(100, 30, "title"), ScrollView(VStack(HorizontalAlignment::center, 0, rows))});
    });
    const auto top = [&](const std::string& row) {
        graph.layout({100, 130});
        return graph.tree().findIdentifier(row)->frame.minY();
    };
    EXPECT_DOUBLE_EQ(top("row-0"), 30);
    EXPECT_TRUE(graph.scroll({50, 80}, -300));
    EXPECT_DOUBLE_EQ(top("row-0"), 30 - 300);
    // On past the end: the last row's bottom stays at the view's.
    EXPECT_TRUE(graph.scroll({50, 80}, -5000));
    EXPECT_DOUBLE_EQ(top("row-49"), 130 - 20);
    EXPECT_FALSE(graph.scroll({50, 10}, 200));
    EXPECT_DOUBLE_EQ(top("row-49"), 110);
    EXPECT_TRUE(graph.scroll({50, 80}, 5000));
    EXPECT_DOUBLE_EQ(top("row-0"), 30);
}

TEST(TreeDescription, EachLineNamesTheViewOrModifierThatMadeTheNode) {
    Laid laid(VStack({Text("Hi"), Spacer(), View(Rectangle()).padding(4).opacity(0.5)})
                  .frame(100, 100)
                  .background(Circle()),
              {100, 100});
    std::vector<std::string> kinds;
    std::istringstream lines(laid.tree().describe());
    for (std::string line; std::getline(lines, line);) {
        const std::size_t indent = line.find_first_not_of(' ');
        kinds.push_back(line.substr(indent, line.find(" (") - indent));
    }
    EXPECT_EQ(kinds,
              (std::vector<std::string>{"root", "background", "Circle", "frame", "VStack", "Text",
                                        "Spacer", "opacity", "padding", "Rectangle"}));
    EXPECT_EQ(laid.tree().findKind(NodeKind::padding)->children.at(0).kind, NodeKind::rectangle);
}

}  // namespace
