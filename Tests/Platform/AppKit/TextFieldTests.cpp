#include <gtest/gtest.h>

#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/NSTextField.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

/// A delegate in the manner of the launcher's: it follows the text and takes the commands
/// that drive a list.
class FieldDelegate : public NSTextFieldDelegate {
  public:
    void controlTextDidChange(const NSNotification& notification) override {
        const auto* field = static_cast<const NSTextField*>(notification.object);
        texts.push_back(field->stringValue());
        names.push_back(notification.name);
    }
    bool controlTextViewDoCommandBySelector(NSTextField&, NSTextView&, Selector command) override {
        commands.push_back(std::string(command.name));
        return command == Selector::moveDown || command == Selector::cancelOperation;
    }

    std::vector<std::string> texts;
    std::vector<std::string> names;
    std::vector<std::string> commands;
};

class TextFieldTest : public DesktopFixture {
  protected:
    TextFieldTest() { field->setDelegate(delegate); }

    void type(const std::string& text) {
        for (const std::string& character : UnicodeText::characters(text))
            field->currentEditor()->interpretKey(0, 0, character);
    }

    std::shared_ptr<NSTextField> field = NSTextField::textFieldWithString("old");
    std::shared_ptr<FieldDelegate> delegate = std::make_shared<FieldDelegate>();
};

TEST_F(TextFieldTest, FocusHandsTheTextToAFieldEditorWithAllOfItSelected) {
    EXPECT_EQ(field->currentEditor(), nullptr);
    ASSERT_TRUE(field->becomeFirstResponder());
    NSTextView* editor = field->currentEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->string(), "old");
    EXPECT_EQ(editor->selectedRange(), (NSRange{0, 3}));
    EXPECT_FALSE(editor->undoManager()->canUndo());
    type("new");
    EXPECT_EQ(field->stringValue(), "new");
    field->endEditing();
    EXPECT_EQ(field->currentEditor(), nullptr);
    EXPECT_EQ(field->stringValue(), "new");
}

TEST_F(TextFieldTest, TheDelegateHearsEveryChangeWithTheFieldAsItsObject) {
    field->becomeFirstResponder();
    type("ab");
    field->currentEditor()->doCommandBySelector(Selector::deleteBackward);
    EXPECT_EQ(delegate->texts, (std::vector<std::string>{"a", "ab", "a"}));
    EXPECT_EQ(delegate->names.front(), NSControlTextDidChangeNotification);
    // A text set by the program is no edit: nobody is told, and nothing is undone.
    field->setStringValue("set");
    EXPECT_EQ(field->currentEditor()->string(), "set");
    EXPECT_EQ(delegate->texts.size(), 3u);
}

TEST_F(TextFieldTest, CommandsTheDelegateTakesNeverReachTheEditor) {
    field->becomeFirstResponder();
    NSTextView* editor = field->currentEditor();
    editor->setSelectedRange(NSRange{1, 0});
    editor->interpretKey(NSTextView::downArrowKey, 0, "");
    EXPECT_EQ(editor->selectedRange(), (NSRange{1, 0}));
    editor->interpretKey(NSTextView::upArrowKey, 0, "");
    EXPECT_EQ(editor->selectedRange(), (NSRange{0, 0}));
    EXPECT_TRUE(editor->doCommandBySelector(Selector::cancelOperation));
    EXPECT_FALSE(editor->doCommandBySelector(Selector::insertTab));
    EXPECT_EQ(delegate->commands,
              (std::vector<std::string>{"moveDown:", "moveUp:", "cancelOperation:", "insertTab:"}));
}

/// Takes the actions a field sends, with the field's text at that moment.
class ActionTarget : public NSObject {
  public:
    bool performAction(const std::string& selector, const void* sender) override {
        if (selector != "search:") return false;
        texts.push_back(static_cast<const NSTextField*>(sender)->stringValue());
        return true;
    }
    std::vector<std::string> texts;
};

TEST_F(TextFieldTest, ReturnSendsTheActionAndSelectsTheText) {
    ActionTarget target;
    field->setTarget(&target);
    field->setAction("search:");
    field->becomeFirstResponder();
    field->currentEditor()->setSelectedRange(NSRange{3, 0});
    field->currentEditor()->interpretKey(NSTextView::returnKey, 0, "\r");
    EXPECT_EQ(target.texts, (std::vector<std::string>{"old"}));
    EXPECT_EQ(field->currentEditor()->selectedRange(), (NSRange{0, 3}));
    field->setTarget(nullptr);
}

TEST_F(TextFieldTest, ADelegateThatIsGoneHearsNothing) {
    field->becomeFirstResponder();
    delegate.reset();
    type("x");
    EXPECT_EQ(field->stringValue(), "x");
}

TEST_F(TextFieldTest, ALabelTakesNoFocus) {
    const auto label = NSTextField::labelWithString("Title");
    EXPECT_FALSE(label->isEditable());
    EXPECT_FALSE(label->isSelectable());
    EXPECT_FALSE(label->drawsBackground());
    EXPECT_FALSE(label->becomeFirstResponder());
    EXPECT_EQ(label->currentEditor(), nullptr);
    EXPECT_EQ(label->stringValue(), "Title");
}

}  // namespace
}  // namespace kelvo
