#include <gtest/gtest.h>

#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/NSWindow.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

constexpr std::uint16_t keyA = 0;
constexpr std::uint16_t keyZ = 6;
constexpr std::uint16_t keyC = 8;
constexpr std::uint16_t keyV = 9;

/// A non-activating panel that takes keys, with the Command keys of an application without an
/// Edit menu: they reach the field editor's editing actions as key equivalents.
class SearchPanel : public NSPanel {
  public:
    explicit SearchPanel(CGRect frame)
        : NSPanel(frame, NSWindowStyleMaskNonactivatingPanel, NSBackingStoreBuffered, false) {}
    bool canBecomeKeyWindow() const override { return true; }
    bool performKeyEquivalent(NSEvent& event) override {
        const auto flags = event.modifierFlags() & NSEventModifierFlagDeviceIndependentFlagsMask;
        auto* editor = dynamic_cast<NSTextView*>(firstResponder());
        if (!editor || (flags & ~NSEventModifierFlagShift) != NSEventModifierFlagCommand)
            return NSPanel::performKeyEquivalent(event);
        const std::string key = UnicodeText::lowercased(event.charactersIgnoringModifiers());
        const bool shift = (flags & NSEventModifierFlagShift) != 0;
        if (key == "a") return editor->performAction("selectAll:", this);
        if (key == "c") return editor->performAction("copy:", this);
        if (key == "v") return editor->performAction("paste:", this);
        if (key == "z") return editor->performAction(shift ? "redo:" : "undo:", this);
        return NSPanel::performKeyEquivalent(event);
    }
    void cancelOperation(const void*) override { ++cancels; }
    int cancels = 0;
};

class TextFieldInWindowTest : public DesktopFixture {
  protected:
    TextFieldInWindowTest() {
        field->setPlaceholderString("Search settings…");
        field->setAccessibilityIdentifier("search");
        panel.contentView()->addSubview(field);
        panel.orderFrontRegardless();
        panel.makeKeyWindow();
    }
    std::optional<sim::InterfaceElement> fieldElement() {
        for (const auto& element : panel.elementTree())
            if (element.role == "textField") return element;
        return std::nullopt;
    }

    SearchPanel panel{CGRect(100, 300, 640, 400)};
    std::shared_ptr<NSTextField> field = NSTextField::textFieldWithString("");
};

TEST_F(TextFieldInWindowTest, TheFieldEditorTakesTheFocusInTheFieldsPlaceAndGivesItBack) {
    field->setFrame(CGRect(20, 320, 600, 30));
    ASSERT_TRUE(panel.makeFirstResponder(field.get()));
    ASSERT_NE(field->currentEditor(), nullptr);
    EXPECT_EQ(panel.firstResponder(), field->currentEditor());
    EXPECT_EQ(field->currentEditor()->superview(), field.get());
    auto element = fieldElement();
    ASSERT_TRUE(element);
    EXPECT_EQ(element->label, "Search settings…");
    EXPECT_EQ(element->value, "");
    EXPECT_EQ(element->identifier, "search");
    EXPECT_TRUE(element->focused);
    EXPECT_EQ(element->toolTip, std::nullopt);

    desktop->typeText("dock");
    settle();
    EXPECT_EQ(field->stringValue(), "dock");
    ASSERT_TRUE(panel.makeFirstResponder(nullptr));
    EXPECT_EQ(field->currentEditor(), nullptr);
    EXPECT_EQ(field->stringValue(), "dock");
    field->setToolTip("Type part of a setting's name");
    element = fieldElement();
    EXPECT_EQ(element->value, "dock");
    EXPECT_FALSE(element->focused);
    EXPECT_EQ(element->toolTip, "Type part of a setting's name");
}

TEST_F(TextFieldInWindowTest, CommandKeysSelectCopyPasteAndUndoOnlyAsKeyEquivalents) {
    panel.makeFirstResponder(field.get());
    desktop->typeText("dock");
    desktop->pressKey(keyA, NSEventModifierFlagCommand);
    desktop->pressKey(keyC, NSEventModifierFlagCommand);
    settle();
    EXPECT_EQ(desktop->pasteboardString(), "dock");
    EXPECT_EQ(field->currentEditor()->selectedRange(), (NSRange{0, 4}));
    desktop->pressKey(NSTextView::rightArrowKey);
    desktop->pressKey(keyV, NSEventModifierFlagCommand);
    settle();
    EXPECT_EQ(field->stringValue(), "dockdock");
    desktop->pressKey(keyZ, NSEventModifierFlagCommand);
    settle();
    EXPECT_EQ(field->stringValue(), "dock");
    desktop->pressKey(keyZ, NSEventModifierFlagCommand | NSEventModifierFlagShift);
    settle();
    EXPECT_EQ(field->stringValue(), "dockdock");
    // Without the panel's key equivalents, a Command key edits nothing.
    field->currentEditor()->interpretKey(keyA, NSEventModifierFlagCommand, "a");
    EXPECT_EQ(field->currentEditor()->selectedRange(), (NSRange{8, 0}));
}

TEST_F(TextFieldInWindowTest, EscapeNobodyTakesReachesThePanelsCancel) {
    panel.makeFirstResponder(field.get());
    desktop->pressKey(NSTextView::escapeKey);
    settle();
    EXPECT_EQ(panel.cancels, 1);
}

TEST_F(TextFieldInWindowTest, AClickInTheFieldStartsEditingIt) {
    panel.orderFrontRegardless();
    settle();
    // The field's middle: (100 + 20 + 300, 900 − 300 − 335) in top-left screen coordinates.
    field->setFrame(CGRect(20, 320, 600, 30));
    desktop->mouseDown(CGPoint{420, 265});
    desktop->mouseUp(CGPoint{420, 265});
    settle();
    EXPECT_EQ(panel.firstResponder(), field->currentEditor());
}

}  // namespace
}  // namespace kelvo
