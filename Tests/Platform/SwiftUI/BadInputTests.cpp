// Input that is not sensible never breaks a layout or a drawing: empty stacks, lengths that
// are not numbers or negative, infinite offers, very long text.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/LazyVGrid.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

using namespace SwiftUI;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

bool finite(const CGRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
           std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

/// Lays out and draws at each size; every frame of a laid-out tree is a number.
void layOutEverywhere(const View& view) {
    ViewGraph graph([view] { return view; });
    for (CGSize size : {CGSize{300, 200}, CGSize{0, 0}, CGSize{-5, -5}, CGSize{nan, nan},
                        CGSize{infinity, infinity}}) {
        graph.layout(size);
        CGRecordingContext context(graph.size());
        graph.draw(context);
        for (const LayoutNode* node : graph.tree().findAll([](const LayoutNode&) { return true; }))
            EXPECT_FALSE(std::isnan(node->frame.size.width) || std::isnan(node->frame.size.height))
                << graph.tree().describe();
        EXPECT_TRUE(finite(graph.tree().frame));
        graph.click({10, 10});
    }
    graph.fittingSize(ProposedViewSize{nan, -1.0});
    graph.fittingSize(ProposedViewSize::infinite());
}

TEST(BadInput, EmptyContainersTakeNoRoom) {
    ViewGraph graph([] {
        return VStack({HStack({}), ZStack({}), Group({}),
                       LazyVGrid({}, HorizontalAlignment::leading, nan, {})});
    });
    // The empty group takes no place; three empty views, two spacings.
    EXPECT_EQ(graph.fittingSize(), (CGSize{0, 8 * 2}));
    layOutEverywhere(VStack({}));
    layOutEverywhere(HStack({EmptyView(), EmptyView()}));
}

TEST(BadInput, LengthsThatAreNotNumbersOrNegativeCountAsNone) {
    layOutEverywhere(Color::white().view().frame(nan, -10));
    layOutEverywhere(Text("x").padding(nan).padding(EdgeInsets{-4, nan, infinity, 2}));
    layOutEverywhere(Color::white().view().frame(
        FlexibleFrame{.minWidth = nan, .maxWidth = -3, .minHeight = infinity}));
    layOutEverywhere(Color::white()
                         .view()
                         .offset(nan, infinity)
                         .opacity(nan)
                         .shadow(Color::black(), nan, infinity, nan));
    layOutEverywhere(RoundedRectangle(nan).strokeBorder(Color::white(), nan));
    layOutEverywhere(HStack(VerticalAlignment::center, nan, {Text("a"), Spacer(nan), Text("b")}));
    layOutEverywhere(VStack(HorizontalAlignment::center, -20, {Text("a"), Text("b")}));
    layOutEverywhere(Text("x").tracking(nan).lineLimit(0));
}

TEST(BadInput, InfiniteOffersAreAnsweredWithoutNaN) {
    layOutEverywhere(HStack({Text("a"), Spacer(), Color::white().view()}));
    layOutEverywhere(ScrollView(VStack({Color::white().view(), Text("long")})));
    layOutEverywhere(LazyVGrid({GridItem::flexible(10), GridItem::flexible(infinity)},
                               HorizontalAlignment::leading, 22,
                               {Text("a"), Text("b"), Text("c")}));
}

TEST(BadInput, TenThousandCharactersWrapAndTruncate) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "abcdefghi ";
    layOutEverywhere(Text(text));
    layOutEverywhere(View(Text(text)).lineLimit(1));
    ViewGraph graph([&] { return View(Text(std::string(10000, 'w'))).lineLimit(1); });
    graph.layout({200, 40});
    const LayoutNode* shown = graph.tree().findKind(NodeKind::text);
    ASSERT_NE(shown, nullptr);
    EXPECT_LE(shown->frame.width(), 200);
}

TEST(BadInput, ControlsOverRangesThatAreNotRanges) {
    double value = nan;
    Binding<double> binding([&] { return value; }, [&](const double& v) { value = v; });
    layOutEverywhere(Slider(binding, 10, 0, -3));
    layOutEverywhere(Slider(binding, nan, infinity, nan));
    long long count = 0;
    layOutEverywhere(Stepper(
        Binding<long long>([&] { return count; }, [&](const long long& v) { count = v; }),
        std::numeric_limits<long long>::max() - 1, std::numeric_limits<long long>::max(), 5));
    std::optional<std::size_t> none;
    layOutEverywhere(PickerByIndex(Binding<std::optional<std::size_t>>::constant(42), {},
                                   PickerStyle::segmented));
    layOutEverywhere(PickerByIndex(Binding<std::optional<std::size_t>>::constant(none),
                                   {PickerItem::separator()}, PickerStyle::menu));
}

}  // namespace
