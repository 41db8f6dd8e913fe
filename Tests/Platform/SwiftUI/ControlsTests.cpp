// The controls: what each reports, and what a click where a person would click does to the
// value it is bound to.

#include <gtest/gtest.h>

#include "Base/Foundation/ManualClock.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/ViewGraph.h"

using namespace SwiftUI;

namespace {

class SettingsLikeModel : public ObservableObject {
  public:
    Published<bool> on{*this, false};
    Published<double> gap{*this, 8};
    Published<long long> desktops{*this, 9};
    Published<std::string> mode{*this, "bsp"};
    Published<std::string> query{*this, ""};
    Published<Color> colour{*this, Color::white()};
};

class ControlsTest : public ::testing::Test {
  protected:
    ControlsTest() {
        graph.observe(model);
        graph.layout({400, 300});
    }

    const LayoutNode& role(const std::string& name) {
        const LayoutNode* node = graph.tree().findRole(name);
        if (!node) throw std::runtime_error("no " + name + "\n" + graph.tree().describe());
        return *node;
    }
    void clickAt(CGPoint point) {
        graph.click(point);
        clock.runUntilIdle();
    }
    void clickCentre(const LayoutNode& node) { clickAt({node.frame.midX(), node.frame.midY()}); }

    ManualClock clock;
    SettingsLikeModel model;
    std::function<View()> body;
    ViewGraph graph{[this] { return body ? body() : View(); }};
};

TEST_F(ControlsTest, ASwitchFlipsItsBindingAndShowsTheValueItReads) {
    body = [this] { return Toggle("", Binding<bool>::to(model.on)); };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(role("switch").element->value, "0");
    EXPECT_EQ(role("switch").frame.size, (CGSize{38, 22}));
    clickCentre(role("switch"));
    EXPECT_TRUE(model.on.get());
    EXPECT_EQ(role("switch").element->value, "1");
    // A binding that drops what is written keeps the switch where its value is.
    body = [] { return Toggle("", Binding<bool>([] { return false; }, [](const bool&) {})); };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    clickCentre(role("switch"));
    EXPECT_EQ(role("switch").element->value, "0");
}

TEST_F(ControlsTest, ASliderTakesTheValueUnderTheClickOnItsSteps) {
    body = [this] {
        return Slider(Binding<double>::to(model.gap), 0, 64).frame(150, std::nullopt);
    };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    const CGRect slider = role("slider").frame;
    EXPECT_DOUBLE_EQ(slider.width(), 150);
    EXPECT_EQ(role("slider").element->value, "8");
    // The knob's centre travels from 8 to 142: the middle of the track is 32.
    clickAt({slider.minX() + 75, slider.midY()});
    EXPECT_DOUBLE_EQ(model.gap.get(), 32);
    clickAt({slider.minX() + 1, slider.midY()});
    EXPECT_DOUBLE_EQ(model.gap.get(), 0);
    clickAt({slider.maxX() - 1, slider.midY()});
    EXPECT_DOUBLE_EQ(model.gap.get(), 64);
    body = [this] {
        return Slider(Binding<double>::to(model.gap), 0, 1000, 25).frame(150, std::nullopt);
    };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    const CGRect stepped = role("slider").frame;
    clickAt({stepped.minX() + 8 + 134 * 0.33, stepped.midY()});
    EXPECT_DOUBLE_EQ(model.gap.get(), 325);
}

TEST_F(ControlsTest, AStepperNeverLeavesItsRange) {
    body = [this] { return Stepper(Binding<long long>::to(model.desktops), 1, 9); };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    const CGRect frame = role("stepper").frame;
    clickAt({frame.midX(), frame.minY() + 2});
    EXPECT_EQ(model.desktops.get(), 9);
    clickAt({frame.midX(), frame.maxY() - 2});
    EXPECT_EQ(model.desktops.get(), 8);
    model.desktops = 1;
    clock.runUntilIdle();
    clickAt({frame.midX(), frame.maxY() - 2});
    EXPECT_EQ(model.desktops.get(), 1);
    EXPECT_EQ(role("stepper").element->value, "1");
}

TEST_F(ControlsTest, ASegmentedPickerChoosesTheSegmentClicked) {
    const std::vector<std::pair<std::string, std::string>> modes{{"Split", "bsp"},
                                                                 {"Master & stack", "masterStack"}};
    body = [this, modes] {
        return Picker(Binding<std::string>::to(model.mode), modes, PickerStyle::segmented);
    };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(role("segmented").element->value, "Split");
    const auto segments = graph.tree().findAll(
        [](const LayoutNode& n) { return n.element && n.element->role == "button"; });
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1]->element->label, "Master & stack");
    EXPECT_LT(segments[0]->frame.maxX(), segments[1]->frame.minX() + 1e-9);
    clickCentre(*segments[1]);
    EXPECT_EQ(model.mode.get(), "masterStack");
    EXPECT_EQ(role("segmented").element->value, "Master & stack");
}

TEST_F(ControlsTest, AMenuPickerPopsItsChoicesAndTakesThePick) {
    std::vector<MenuEntry> shown;
    std::function<void(std::size_t)> choose;
    graph.services().presentMenu = [&](const std::vector<MenuEntry>& entries, CGRect,
                                       std::function<void(std::size_t)> chosen) {
        shown = entries;
        choose = chosen;
    };
    const std::vector<std::pair<std::string, std::string>> terminals{
        {"Automatic (Terminal)", ""}, {"Terminal", "com.apple.Terminal"}, {"iTerm", "iterm"}};
    body = [this, terminals] {
        return Picker(Binding<std::string>::to(model.query), terminals, PickerStyle::menu, {1});
    };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(role("popUpButton").element->value, "Automatic (Terminal)");
    clickCentre(role("popUpButton"));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_TRUE(shown[0].checked);
    EXPECT_TRUE(shown[1].separator);
    EXPECT_EQ(shown[3].title, "iTerm");
    choose(3);
    clock.runUntilIdle();
    EXPECT_EQ(model.query.get(), "iterm");
    EXPECT_EQ(role("popUpButton").element->value, "iTerm");
}

TEST_F(ControlsTest, ButtonsActOnClicksAndTheirShortcutsUnlessDisabled) {
    int pressed = 0;
    bool disabled = false;
    body = [&] {
        return VStack({Button("Continue", [&] { ++pressed; })
                           .buttonStyle(ButtonStyle::borderedProminent)
                           .keyboardShortcut(KeyboardShortcut::defaultAction())
                           .disabled(disabled)});
    };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(role("button").element->label, "Continue");
    clickCentre(role("button"));
    EXPECT_TRUE(graph.press(KeyboardShortcut::defaultAction()));
    EXPECT_FALSE(graph.press(KeyboardShortcut::commandKey("k")));
    EXPECT_EQ(pressed, 2);
    disabled = true;
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_FALSE(role("button").enabled);
    clickCentre(role("button"));
    EXPECT_FALSE(graph.press(KeyboardShortcut::defaultAction()));
    EXPECT_EQ(pressed, 2);
}

TEST_F(ControlsTest, AColourWellWritesThePickedColour) {
    std::function<void(const Color&)> pick;
    graph.services().presentColorPanel =
        [&](const Color&, std::function<void(const Color&)> picked) { pick = picked; };
    body = [this] { return ColorPicker("", Binding<Color>::to(model.colour)); };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_EQ(role("colorWell").element->value, "#FFFFFF");
    clickCentre(role("colorWell"));
    ASSERT_TRUE(pick);
    pick(Color(1, 0.5, 0));
    clock.runUntilIdle();
    EXPECT_EQ(role("colorWell").element->value, "#FF8000");
}

TEST_F(ControlsTest, ATextFieldTakesTheKeysOnceClicked) {
    body = [this] { return TextField("Search settings…", Binding<std::string>::to(model.query)); };
    graph.setNeedsUpdate();
    clock.runUntilIdle();
    EXPECT_FALSE(role("textField").focused);
    EXPECT_FALSE(graph.type("x"));
    clickCentre(role("textField"));
    EXPECT_TRUE(role("textField").focused);
    EXPECT_TRUE(graph.type("gaé"));
    EXPECT_TRUE(graph.type("\b"));
    clock.runUntilIdle();
    EXPECT_EQ(model.query.get(), "ga");
    EXPECT_EQ(role("textField").element->value, "ga");
}

}  // namespace

namespace {

TEST(Hover, ViewsHearThePointerEnterAndLeave) {
    std::vector<std::string> heard;
    ViewGraph graph([&] {
        return HStack(VerticalAlignment::center, 0,
                      {Color::white().view().frame(50, 20).onHover(
                           [&](bool in) { heard.push_back(in ? "a in" : "a out"); }),
                       Color::black().view().frame(50, 20).onHover(
                           [&](bool in) { heard.push_back(in ? "b in" : "b out"); })});
    });
    graph.layout({100, 20});
    graph.hover(CGPoint{10, 10});
    graph.hover(CGPoint{20, 10});
    graph.hover(CGPoint{60, 10});
    graph.hover(std::nullopt);
    EXPECT_EQ(heard, (std::vector<std::string>{"a in", "b in", "a out", "b out"}));
}

}  // namespace
