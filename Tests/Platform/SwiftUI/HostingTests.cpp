// Views hosted in a window of the desktop: laid out at the window's size, drawn into its
// picture, clicked, typed into and read through the element tree, as a person and kelvo-sim
// meet them.

#include <gtest/gtest.h>

#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/NSHostingView.h"
#include "Platform/SwiftUI/NSViewRepresentable.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/State.h"
#include "Platform/SwiftUI/Text.h"
#include "Support/Platform/DesktopFixture.h"

using namespace SwiftUI;

namespace kelvo {
namespace {

constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t deleteKey = 51;

class HostModel : public ObservableObject {
  public:
    Published<int> presses{*this, 0};
    Published<bool> on{*this, false};
    Published<double> level{*this, 0};
    Published<std::string> mode{*this, "tiles"};
    Published<std::string> shell{*this, "zsh"};
    Published<std::string> note{*this, ""};
    Published<bool> confirming{*this, false};
    Published<std::string> query{*this, ""};
};

/// A panel that takes keys without bringing this process forward.
class KeyPanel : public NSPanel {
  public:
    explicit KeyPanel(CGRect frame)
        : NSPanel(frame, NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false) {}
    bool canBecomeKeyWindow() const override { return true; }
};

class HostingTest : public DesktopFixture {
  protected:
    // The panel's top left corner stands at (100, 200) on screen, top-down.
    static inline const CGRect panelFrame = CGRect(100, 900 - 200 - 320, 400, 320);

    void host(std::function<View()> body) {
        hosting = std::make_shared<NSHostingView>(std::move(body));
        hosting->observe(model);
        panel.setContentView(hosting);
        panel.orderFrontRegardless();
        panel.makeKeyWindow();
        settle();
    }
    /// The elements of the panel's content, without the window's own.
    std::vector<sim::InterfaceElement> elements() {
        std::vector<sim::InterfaceElement> found;
        for (const auto& record : desktop->elements(ownPid))
            if (record.element.role != "window") found.push_back(record.element);
        return found;
    }
    std::optional<sim::InterfaceElement> element(const std::string& role,
                                                 const std::string& label = "") {
        for (const auto& found : elements())
            if (found.role == role && (label.empty() || found.label == label)) return found;
        return std::nullopt;
    }
    /// A click as kelvo-sim makes it, at a point of the screen (top-down).
    void click(CGPoint point) {
        desktop->mouseDown(point);
        desktop->mouseUp(point);
        settle();
    }
    void clickElement(const std::string& role, const std::string& label = "") {
        const auto found = element(role, label);
        ASSERT_TRUE(found) << role << " " << label;
        click({found->frame.midX(), found->frame.midY()});
    }
    std::uint32_t pixel(double x, double y) {
        const auto pixels =
            desktop->ownWindowPicture(static_cast<sim::WindowNumber>(panel.windowNumber()))
                .unpack();
        if (!pixels) return 0;
        return (*pixels)[static_cast<std::size_t>(y) * 400 + static_cast<std::size_t>(x)];
    }

    HostModel model;
    KeyPanel panel{panelFrame};
    std::shared_ptr<NSHostingView> hosting;
};

TEST_F(HostingTest, TheTreeFillsTheWindowDrawsIntoItsPictureAndPublishesItsElements) {
    host([this] {
        return VStack(HorizontalAlignment::leading, 10,
                      {Text("Gaps").font(Font::system(13)),
                       Button("Press", [this] { model.presses = model.presses + 1; }),
                       Rectangle().fill(Color(1, 0, 0)).frame(40, 30)})
            .padding(20)
            .frame(FlexibleFrame{
                .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
    });
    const LayoutNode& tree = hosting->layoutTree();
    EXPECT_EQ(tree.frame.size, (CGSize{400, 320}));
    const LayoutNode* text = tree.findText("Gaps");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->frame.origin, (CGPoint{20, 20}));

    // Elements in reading order, frames on screen; a button's label and text are one element.
    const auto shown = elements();
    ASSERT_EQ(shown.size(), 2u) << "the text and the button; the shape is no element";
    EXPECT_EQ(shown[0].role, "text");
    EXPECT_EQ(shown[0].label, "Gaps");
    EXPECT_EQ(shown[0].frame.origin, (CGPoint{120, 220}));
    EXPECT_EQ(shown[1].role, "button");
    EXPECT_EQ(shown[1].label, "Press");
    EXPECT_TRUE(shown[1].enabled);

    // The red square is in the window's pixels where the layout put it.
    const LayoutNode* square = tree.findKind(NodeKind::rectangle);
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(pixel(square->frame.midX(), square->frame.midY()), 0xFFFF0000u);
    EXPECT_NE(pixel(square->frame.maxX() + 5, square->frame.midY()), 0xFFFF0000u);

    clickElement("button", "Press");
    EXPECT_EQ(model.presses.get(), 1);
    click({100 + 350, 200 + 300});  // nothing there
    EXPECT_EQ(model.presses.get(), 1);
}

TEST_F(HostingTest, APublishedChangeDrawsOnePictureHoweverManyValuesChanged) {
    host([this] {
        return VStack(
            {Text(std::to_string(model.presses.get())), Toggle("", Binding<bool>::to(model.on))});
    });
    const std::uint64_t before = panel.picturesSent();
    model.presses = 4;
    model.on = true;
    model.note = "x";
    settle();
    EXPECT_EQ(panel.picturesSent(), before + 1);
    EXPECT_TRUE(element("text", "4"));
    EXPECT_EQ(element("switch")->value, "1");
    settle();
    EXPECT_EQ(panel.picturesSent(), before + 1) << "nothing more without a change";
}

TEST_F(HostingTest, AViewResizedWhileAChangeIsDueIsLaidOutOnceAtItsNewSize) {
    std::vector<CGSize> laidOut;
    host([this, &laidOut] {
        return GeometryReader([this, &laidOut](const GeometryProxy& proxy) {
            laidOut.push_back(proxy.size);
            return View(Text(std::to_string(model.presses.get())));
        });
    });
    laidOut.clear();
    model.presses = 1;
    panel.setFrame(CGRect(panelFrame.origin, CGSize{300, 200}), true);
    settle();
    EXPECT_EQ(laidOut, (std::vector<CGSize>{{300, 200}}));
    EXPECT_TRUE(element("text", "1"));
}

TEST_F(HostingTest, ClicksOnControlsChangeTheBoundValues) {
    host([this] {
        return VStack(HorizontalAlignment::leading, 12,
                      {Toggle("Wrap", Binding<bool>::to(model.on)).labelsHidden(),
                       Slider(Binding<double>::to(model.level), 0, 100).frame(200, std::nullopt),
                       Picker(Binding<std::string>::to(model.mode),
                              std::vector<std::pair<std::string, std::string>>{{"Tiles", "tiles"},
                                                                               {"Stack", "stack"}},
                              PickerStyle::segmented)
                           .frame(200, std::nullopt),
                       Picker(Binding<std::string>::to(model.shell),
                              std::vector<std::pair<std::string, std::string>>{{"zsh", "zsh"},
                                                                               {"fish", "fish"}},
                              PickerStyle::menu)})
            .padding(20)
            .frame(FlexibleFrame{
                .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
    });
    clickElement("switch");
    EXPECT_TRUE(model.on.get());
    EXPECT_EQ(element("switch")->value, "1");

    // Three quarters along the track.
    const auto slider = element("slider");
    ASSERT_TRUE(slider);
    click({slider->frame.minX() + slider->frame.width() * 0.75, slider->frame.midY()});
    EXPECT_NEAR(model.level.get(), 75, 5);

    clickElement("button", "Stack");
    EXPECT_EQ(model.mode.get(), "stack");
    EXPECT_EQ(element("segmented")->value, "Stack");

    // The menu picker pops a menu of the desktop with the current choice checked.
    clickElement("popUpButton");
    const auto menu = desktop->openMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].title, "zsh");
    EXPECT_EQ(menu[0].state, 1);
    EXPECT_EQ(menu[1].state, 0);
    EXPECT_TRUE(desktop->pickMenuItem("fish"));
    settle();
    EXPECT_EQ(model.shell.get(), "fish");
    EXPECT_TRUE(desktop->openMenu().empty());
    EXPECT_EQ(element("popUpButton")->value, "fish");

    // Escape closes the menu without a pick.
    clickElement("popUpButton");
    ASSERT_FALSE(desktop->openMenu().empty());
    desktop->pressKey(53);
    settle();
    EXPECT_TRUE(desktop->openMenu().empty());
    EXPECT_EQ(model.shell.get(), "fish");
}

TEST_F(HostingTest, ADragOnASliderMovesTheValueThroughEachStepAndTheReleaseKeepsTheLast) {
    std::vector<double> written;
    host([this, &written] {
        const Binding<double> level([this] { return model.level.get(); },
                                    [this, &written](const double& value) {
                                        written.push_back(value);
                                        model.level = value;
                                    });
        return Slider(level, 0, 100, 10)
            .frame(216, std::nullopt)
            .padding(20)
            .frame(FlexibleFrame{
                .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
    });
    // The knob's centre travels 200 points, from 8 to 208 along the track: 20 per step.
    const auto slider = element("slider");
    ASSERT_TRUE(slider);
    const CGFloat left = slider->frame.minX() + 8, y = slider->frame.midY();
    desktop->mouseDown({left, y});
    for (CGFloat x = left; x <= left + 100; x += 5)
        desktop->movePointer({x, y});
    settle();
    EXPECT_DOUBLE_EQ(model.level.get(), 50);
    EXPECT_EQ(element("slider")->value, "50");
    EXPECT_EQ(written, (std::vector<double>{10, 20, 30, 40, 50})) << "each step once, in order";
    // Past the end of the track the value stays at the top; back and up, it keeps where the
    // button came up.
    desktop->movePointer({left + 400, y});
    desktop->movePointer({left + 60, y});
    desktop->mouseUp({left + 60, y});
    settle();
    EXPECT_DOUBLE_EQ(model.level.get(), 30);
    desktop->movePointer({left + 200, y});
    settle();
    EXPECT_DOUBLE_EQ(model.level.get(), 30) << "a move after the release is no drag";
}

TEST_F(HostingTest, HoverFiresWhenTheDesktopsPointerEntersAndLeavesAHostedView) {
    std::vector<std::string> heard;
    host([&] {
        return Rectangle()
            .fill(Color(0, 0, 1))
            .frame(100, 60)
            .onHover([&](bool in) { heard.push_back(in ? "in" : "out"); })
            .padding(20)
            .frame(FlexibleFrame{
                .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()});
    });
    // The square spans (120, 220) to (220, 280) on screen.
    desktop->movePointer({50, 50});
    desktop->movePointer({150, 250});
    desktop->movePointer({160, 260});
    settle();
    EXPECT_EQ(heard, (std::vector<std::string>{"in"}));
    desktop->movePointer({300, 250});
    settle();
    EXPECT_EQ(heard, (std::vector<std::string>{"in", "out"}));
    desktop->movePointer({150, 250});
    desktop->movePointer({900, 800});  // off the panel altogether
    settle();
    EXPECT_EQ(heard, (std::vector<std::string>{"in", "out", "in", "out"}));
}

TEST_F(HostingTest, AClickedFieldTakesTheKeysAndReturnPressesTheDefaultButton) {
    host([this] {
        return VStack({TextField("Note", Binding<std::string>::to(model.note)),
                       Button("Save", [this] { model.presses = model.presses + 1; })
                           .keyboardShortcut(KeyboardShortcut::defaultAction())})
            .padding(20);
    });
    EXPECT_FALSE(element("textField")->focused);
    clickElement("textField");
    EXPECT_EQ(panel.firstResponder(), hosting.get());
    EXPECT_TRUE(element("textField")->focused);
    desktop->typeText("abc");
    settle();
    desktop->pressKey(deleteKey);
    settle();
    EXPECT_EQ(model.note.get(), "ab");
    EXPECT_EQ(element("textField")->value, "ab");
    desktop->pressKey(returnKey);
    settle();
    EXPECT_EQ(model.presses.get(), 1);
}

/// A field whose coordinator counts what the hosting did to it.
struct FieldCoordinator {
    int made = 0;
    int updates = 0;
};

TEST_F(HostingTest, ARepresentedFieldIsMadeOnceShownAtItsFrameAndTakesTheKeys) {
    auto coordinator = std::make_shared<FieldCoordinator>();
    std::weak_ptr<NSTextField> made;
    host([this, coordinator, &made] {
        const View field = NSViewRepresentable<NSTextField, FieldCoordinator>(
            [coordinator] { return coordinator; },
            [&made](FieldCoordinator& c) {
                ++c.made;
                auto field = std::make_shared<NSTextField>(CGRect(0, 0, 10, 10));
                field->setPlaceholderString("Open or switch to…");
                field->setFont(NSFont::systemFontOfSize(20));
                made = field;
                return field;
            },
            [this](NSTextField& field, FieldCoordinator& c) {
                ++c.updates;
                if (field.stringValue() != model.query.get()) field.setStringValue(model.query);
            });
        return VStack(HorizontalAlignment::leading, 0,
                      {Text("Above"), field, Text(std::to_string(model.presses.get()))})
            .padding(10);
    });
    auto field = made.lock();
    ASSERT_TRUE(field);
    EXPECT_EQ(field->superview(), hosting.get());
    const LayoutNode* node = hosting->layoutTree().findKind(NodeKind::representable);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(field->frame(), node->frame);
    EXPECT_EQ(node->frame.width(), 380) << "it takes the width offered";
    EXPECT_EQ(node->frame.height(), field->intrinsicContentSize().height);

    // Reading order: the field between the texts around it.
    const auto shown = elements();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].label, "Above");
    EXPECT_EQ(shown[1].role, "textField");
    EXPECT_EQ(shown[2].label, "0");

    // A new evaluation updates the same field.
    model.query = "fire";
    model.presses = 1;
    settle();
    EXPECT_EQ(coordinator->made, 1);
    EXPECT_GE(coordinator->updates, 2);
    EXPECT_EQ(field->stringValue(), "fire");
    EXPECT_EQ(made.lock(), field);

    // A click gives it the keys.
    clickElement("textField");
    desktop->typeText("fox");
    settle();
    EXPECT_NE(field->currentEditor(), nullptr);
    EXPECT_EQ(panel.firstResponder(), field->currentEditor());
    EXPECT_NE(field->stringValue().find("fox"), std::string::npos) << field->stringValue();
    EXPECT_EQ(element("textField")->value, field->stringValue());
}

/// Hands every change of its field's text to the model, as a search field's delegate does.
struct PublishingCoordinator : NSTextFieldDelegate {
    void controlTextDidChange(const NSNotification& notification) override {
        model->query = static_cast<const NSTextField*>(notification.object)->stringValue();
    }
    HostModel* model = nullptr;
};

TEST_F(HostingTest, AKeyThatChangesAFieldAndTheModelItPublishesToIsOnePicture) {
    auto coordinator = std::make_shared<PublishingCoordinator>();
    coordinator->model = &model;
    host([this, coordinator] {
        const View field = NSViewRepresentable<NSTextField, PublishingCoordinator>(
            [coordinator] { return coordinator; },
            [coordinator](PublishingCoordinator&) {
                auto made = std::make_shared<NSTextField>(CGRect(0, 0, 10, 10));
                made->setDelegate(coordinator);
                return made;
            },
            [](NSTextField&, PublishingCoordinator&) {});
        return VStack(HorizontalAlignment::leading, 0, {field, Text("found " + model.query.get())})
            .padding(10);
    });
    clickElement("textField");
    const std::uint64_t before = panel.picturesSent();
    desktop->typeText("f");
    settle();
    // The field drew its new text and the view tree laid out the model's: one picture shows both.
    EXPECT_EQ(panel.picturesSent(), before + 1);
    EXPECT_EQ(element("textField")->value, "f");
    EXPECT_TRUE(element("text", "found f"));
}

TEST_F(HostingTest, AConfirmationDialogIsAnAlertOfTheDesktopWhosePressedButtonActs) {
    int reverted = 0;
    host([this, &reverted] {
        return Button("Revert all", [this] { model.confirming = true; })
            .confirmationDialog(
                "Put every system tweak back the way Kelvo found it?",
                Binding<bool>::to(model.confirming),
                {DialogButton{"Revert all", ButtonRole::destructive, [&reverted] { ++reverted; }},
                 DialogButton{"Cancel", ButtonRole::cancel, nullptr}},
                "The toggles above all turn off.");
    });
    desktop->answerAlerts({"Cancel"});
    clickElement("button", "Revert all");
    settle();
    ASSERT_EQ(desktop->alerts().size(), 1u);
    const sim::AlertSpec shown = desktop->alerts()[0].alert;
    EXPECT_EQ(shown.messageText, "Put every system tweak back the way Kelvo found it?");
    EXPECT_EQ(shown.informativeText, "The toggles above all turn off.");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Revert all", "Cancel"}));
    EXPECT_EQ(reverted, 0);
    EXPECT_FALSE(model.confirming.get()) << "either button dismisses it";

    desktop->answerAlerts({"Revert all"});
    clickElement("button", "Revert all");
    settle();
    EXPECT_EQ(desktop->alerts().size(), 2u);
    EXPECT_EQ(reverted, 1);
    EXPECT_FALSE(model.confirming.get());
}

TEST_F(HostingTest, AColourWellWritesTheColourPickedInTheDesktopsPanel) {
    Color picked = Color(0, 0, 0);
    host([&picked] {
        return ColorPicker("Border", Binding<Color>([&picked] { return picked; },
                                                    [&picked](const Color& c) { picked = c; }));
    });
    desktop->answerColorPanels({"#FF8000"});
    clickElement("colorWell");
    settle();
    EXPECT_DOUBLE_EQ(picked.value().red, 1);
    EXPECT_NEAR(picked.value().green, 128.0 / 255, 1e-9);
    ASSERT_EQ(desktop->colorPanels().size(), 1u);
    // The binding is no published value: the well shows the pick when the tree is evaluated.
    hosting->graph().setNeedsUpdate();
    settle();
    EXPECT_EQ(element("colorWell")->value, "#FF8000");
}

TEST_F(HostingTest, TheFittingSizeIsTheTreesIdealSize) {
    host([] { return Rectangle().fill(Color::white()).frame(120, 44).padding(8); });
    EXPECT_EQ(hosting->fittingSize(), (CGSize{136, 60}));
}

}  // namespace
}  // namespace kelvo
