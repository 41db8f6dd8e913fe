// Published values, bindings, state, the environment, preferences and the life of views: what
// a change of a model does to the views that observe it, and when.

#include <gtest/gtest.h>

#include "Base/Foundation/ManualClock.h"
#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/State.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

using namespace SwiftUI;

namespace {

class CounterModel : public ObservableObject {
  public:
    Published<int> count{*this, 0};
    Published<std::string> title{*this, "none"};
    Published<bool> on{*this, false};
};

struct HeightKey {
    using Value = CGFloat;
    static Value defaultValue() { return 0; }
    static void reduce(Value& value, Value next) { value += next; }
};

struct FlashedKey {
    using Value = std::optional<std::string>;
    static Value defaultValue() { return std::nullopt; }
};

class StateTest : public ::testing::Test {
  protected:
    ManualClock clock;
};

TEST_F(StateTest, APublishedChangeEvaluatesOnceOnTheNextTurnHoweverManyValuesChanged) {
    CounterModel model;
    ViewGraph graph([&] { return Text(std::to_string(model.count) + " " + model.title.get()); });
    graph.observe(model);
    int updates = 0;
    graph.onUpdate = [&] { ++updates; };
    graph.layout({200, 40});
    EXPECT_EQ(graph.evaluationCount(), 1);
    model.count = 3;
    model.title = "three";
    model.on = true;
    // Nothing happens before the main loop turns.
    EXPECT_EQ(graph.evaluationCount(), 1);
    EXPECT_NE(graph.tree().findText("0 none"), nullptr);
    clock.runUntilIdle();
    EXPECT_EQ(graph.evaluationCount(), 2);
    EXPECT_EQ(updates, 1);
    EXPECT_NE(graph.tree().findText("3 three"), nullptr);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(StateTest, AGraphThatIsGoneHearsNothing) {
    CounterModel model;
    {
        ViewGraph graph([&] { return Text(std::to_string(model.count)); });
        graph.observe(model);
        graph.layout({100, 20});
        model.count = 1;
    }
    model.count = 2;
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(StateTest, BindingsReadAndWriteThroughTheirOwner) {
    CounterModel model;
    Binding<int> count = Binding<int>::to(model.count);
    count.set(5);
    EXPECT_EQ(model.count.get(), 5);
    Binding<std::string> derived =
        count.map<std::string>([](const int& value) { return std::to_string(value); },
                               [](const std::string& text) { return std::stoi(text); });
    EXPECT_EQ(derived.get(), "5");
    derived.set("7");
    EXPECT_EQ(model.count.get(), 7);
    Binding<int> constant = Binding<int>::constant(4);
    constant.set(9);
    EXPECT_EQ(constant.get(), 4);
}

TEST_F(StateTest, StateIsKeptAcrossEvaluationsAndAWriteEvaluatesAgain) {
    ViewGraph graph([] {
        return WithState<int>(0, [](const Binding<int>& taps) {
            return Button("Tapped " + std::to_string(taps.get()),
                          [taps] { taps.set(taps.get() + 1); });
        });
    });
    graph.layout({200, 40});
    const LayoutNode* button = graph.tree().findRole("button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->element->label, "Tapped 0");
    EXPECT_TRUE(graph.click({button->frame.midX(), button->frame.midY()}));
    clock.runUntilIdle();
    EXPECT_EQ(graph.tree().findRole("button")->element->label, "Tapped 1");
}

TEST_F(StateTest, EnvironmentValuesReachTheViewsBelow) {
    ViewGraph graph([] {
        return VStack({EnvironmentReader([](const EnvironmentValues& environment) {
                   const std::optional<std::string> flashed = environment.get<FlashedKey>();
                   return View(Text(flashed.value_or("nothing")));
               })})
            .environment<FlashedKey>(std::optional<std::string>("desktopCount"));
    });
    graph.layout({200, 40});
    EXPECT_NE(graph.tree().findText("desktopCount"), nullptr);
    ViewGraph plain([] {
        return EnvironmentReader([](const EnvironmentValues& environment) {
            return View(Text(environment.get<FlashedKey>().value_or("nothing")));
        });
    });
    plain.layout({200, 40});
    EXPECT_NE(plain.tree().findText("nothing"), nullptr);
}

TEST_F(StateTest, APreferenceReachesItsReaderOncePerLayoutWhenItChanges) {
    CounterModel model;
    std::vector<CGFloat> heard;
    ViewGraph graph([&] {
        std::vector<View> parts;
        for (int i = 0; i <= model.count; ++i)
            parts.push_back(Color::white()
                                .view()
                                .frame(std::nullopt, 10)
                                .background(GeometryReader([](const GeometryProxy& proxy) {
                                    return Color::clear().view().preference<HeightKey>(
                                        proxy.size.height);
                                })));
        return VStack(HorizontalAlignment::center, 0, parts)
            .onPreferenceChange<HeightKey>([&](const CGFloat& height) { heard.push_back(height); });
    });
    graph.observe(model);
    graph.layout({100, 100});
    EXPECT_EQ(heard, std::vector<CGFloat>{10});
    graph.layout({100, 100});
    EXPECT_EQ(heard, std::vector<CGFloat>{10});
    model.count = 2;
    clock.runUntilIdle();
    EXPECT_EQ(heard, (std::vector<CGFloat>{10, 30}));
}

TEST_F(StateTest, ChangesAppearancesAndDisappearancesAreToldAfterThePass) {
    CounterModel model;
    std::vector<std::string> told;
    ViewGraph graph([&] {
        View detail =
            model.on
                ? View(Text("Detail")).onAppear([&] { told.push_back("appear"); }).onDisappear([&] {
                      told.push_back("disappear");
                  })
                : View();
        return VStack({Text(std::to_string(model.count)), detail})
            .onChange<int>(model.count,
                           [&](const int& now) { told.push_back("count " + std::to_string(now)); });
    });
    graph.observe(model);
    graph.layout({100, 100});
    EXPECT_TRUE(told.empty());
    model.on = true;
    clock.runUntilIdle();
    model.count = 4;
    clock.runUntilIdle();
    model.on = false;
    clock.runUntilIdle();
    EXPECT_EQ(told, (std::vector<std::string>{"appear", "count 4", "disappear"}));
}

}  // namespace

namespace {

class FlashModel : public ObservableObject {
  public:
    Published<bool> flashing{*this, false};
};

TEST_F(StateTest, AnAnimatedChangeMovesTheColoursFrameByFrameOnTheClock) {
    FlashModel model;
    ViewGraph graph([&] {
        const bool on = model.flashing;
        return Color::clear()
            .view()
            .frame(100, 20)
            .background(RoundedRectangle(9, RoundedCornerStyle::continuous)
                            .fill(Color(0.2, 0.5, 1.0).opacity(on ? 0.2 : 0)))
            .animation(Animation::easeOut(0.25), on);
    });
    graph.observe(model);
    graph.layout({100, 20});
    auto alpha = [&] {
        return graph.tree().findKind(NodeKind::roundedRectangle)->color->value().alpha;
    };
    EXPECT_DOUBLE_EQ(alpha(), 0);
    model.flashing = true;
    clock.runUntilIdle();
    EXPECT_DOUBLE_EQ(alpha(), 0);
    clock.advance(0.1);
    EXPECT_GT(alpha(), 0.05);
    EXPECT_LT(alpha(), 0.2);
    clock.advance(0.2);
    EXPECT_DOUBLE_EQ(alpha(), 0.2);
    EXPECT_EQ(clock.pendingCount(), 0u);
    // Without a change of the value nothing moves.
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_DOUBLE_EQ(alpha(), 0.2);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

}  // namespace
