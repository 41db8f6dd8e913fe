#include <gtest/gtest.h>

#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/EditedText.h"
#include "Platform/AppKit/NSPasteboard.h"
#include "Platform/AppKit/NSTextView.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

// ---- The edited text: characters, not bytes, and ranges as the text system counts them.

TEST(EditedText, TheCaretStepsOverWholeCharactersAndRangesCountUTF16Units) {
    EditedText text;
    // "e" with a combining accent is one character of two code points; the flag is one
    // character of two code points beyond the basic plane (four UTF-16 units).
    text.setText("ae\xCC\x81\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7z");
    EXPECT_EQ(text.selectedRange(), (NSRange{8, 0}));
    text.moveLeft(false);
    EXPECT_EQ(text.selectedRange(), (NSRange{7, 0}));
    text.moveLeft(true);
    EXPECT_EQ(text.selectedRange(), (NSRange{3, 4}));
    EXPECT_EQ(text.selectedText(), "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7");
    text.moveLeft(false);  // a selection collapses to its start first
    EXPECT_EQ(text.selectedRange(), (NSRange{3, 0}));
    EXPECT_TRUE(text.deleteBackward());
    EXPECT_EQ(text.text(), "a\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7z");
}

TEST(EditedText, ARangeEndingInsideACharacterTakesAllOfIt) {
    EditedText text;
    text.setText("x\xF0\x9F\x98\x80y");  // the emoji is two UTF-16 units
    text.setSelectedRange(NSRange{1, 1});
    EXPECT_EQ(text.selectedRange(), (NSRange{1, 2}));
    text.setSelectedRange(NSRange{40, 3});
    EXPECT_EQ(text.selectedRange(), (NSRange{4, 0}));
}

TEST(EditedText, DeletingAtTheEdgesDoesNothing) {
    EditedText text;
    text.setText("ab");
    EXPECT_FALSE(text.deleteForward());
    text.moveToStart(false);
    EXPECT_FALSE(text.deleteBackward());
    EXPECT_TRUE(text.deleteForward());
    EXPECT_EQ(text.text(), "b");
    text.moveToEnd(true);
    EXPECT_TRUE(text.deleteBackward());
    EXPECT_EQ(text.text(), "");
}

// ---- The field editor

/// Records what a field editor tells the one it edits for, and takes the commands it is told
/// to take.
class EditorDelegate : public NSTextViewDelegate {
  public:
    void textDidChange(NSTextView& view) override { changes.push_back(view.string()); }
    bool textViewDoCommandBySelector(NSTextView&, Selector command) override {
        commands.push_back(std::string(command.name));
        return std::find(taken.begin(), taken.end(), command) != taken.end();
    }
    void textDidPressReturn(NSTextView&) override { ++returns; }
    void textDidEndEditing(NSTextView&) override {}

    std::vector<std::string> changes;
    std::vector<std::string> commands;
    std::vector<Selector> taken;
    int returns = 0;
};

class FieldEditorTest : public DesktopFixture {
  protected:
    FieldEditorTest() { editor.setDelegate(&delegate); }

    void type(const std::string& text) {
        for (const std::string& character : UnicodeText::characters(text))
            editor.interpretKey(0, 0, character);
    }
    void press(std::uint16_t keyCode, NSEventModifierFlags flags = 0) {
        editor.interpretKey(keyCode, flags, "");
    }

    NSTextView editor;
    EditorDelegate delegate;
};

TEST_F(FieldEditorTest, KeysTypeOrBecomeTheStandardCommands) {
    type("hello");
    press(NSTextView::leftArrowKey);
    press(NSTextView::leftArrowKey, NSEventModifierFlagShift);
    EXPECT_EQ(editor.selectedRange(), (NSRange{3, 1}));
    press(NSTextView::deleteKey);
    EXPECT_EQ(editor.string(), "helo");
    press(NSTextView::homeKey);
    press(NSTextView::forwardDeleteKey);
    EXPECT_EQ(editor.string(), "elo");
    press(NSTextView::endKey, NSEventModifierFlagShift);
    EXPECT_EQ(editor.selectedRange(), (NSRange{0, 3}));
    press(NSTextView::rightArrowKey);
    EXPECT_EQ(editor.selectedRange(), (NSRange{3, 0}));
    press(NSTextView::upArrowKey);
    EXPECT_EQ(editor.selectedRange(), (NSRange{0, 0}));
    EXPECT_EQ(delegate.changes,
              (std::vector<std::string>{"h", "he", "hel", "hell", "hello", "helo", "elo"}));
}

TEST_F(FieldEditorTest, EveryCommandIsOfferedToTheDelegateFirst) {
    delegate.taken = {Selector::insertTab, Selector::moveDown, Selector::cancelOperation};
    type("ab");
    press(NSTextView::tabKey);
    press(NSTextView::tabKey, NSEventModifierFlagShift);
    press(NSTextView::downArrowKey);
    press(NSTextView::upArrowKey);
    press(NSTextView::returnKey);
    press(NSTextView::escapeKey);
    EXPECT_EQ(delegate.commands,
              (std::vector<std::string>{"insertTab:", "insertBacktab:", "moveDown:", "moveUp:",
                                        "insertNewline:", "cancelOperation:"}));
    // A taken move leaves the caret; one left to the editor moves it.
    EXPECT_EQ(editor.selectedRange(), (NSRange{0, 0}));
    EXPECT_EQ(delegate.returns, 1);
    EXPECT_EQ(editor.string(), "ab");
}

TEST_F(FieldEditorTest, CommandAndControlKeysNeverEditByThemselves) {
    type("abc");
    editor.interpretKey(0, NSEventModifierFlagCommand, "a");
    editor.interpretKey(9, NSEventModifierFlagCommand, "v");
    editor.interpretKey(6, NSEventModifierFlagCommand, "z");
    editor.interpretKey(45, NSEventModifierFlagControl, "\x0E");
    EXPECT_EQ(editor.string(), "abc");
    EXPECT_EQ(editor.selectedRange(), (NSRange{3, 0}));
    // Option types what the key gives with it.
    editor.interpretKey(0, NSEventModifierFlagOption, "\xC3\xA5");
    EXPECT_EQ(editor.string(), "abc\xC3\xA5");
}

TEST_F(FieldEditorTest, CopyCutAndPasteGoThroughTheDesktopsPasteboard) {
    type("one two");
    editor.setSelectedRange(NSRange{4, 3});
    editor.copy(nullptr);
    EXPECT_EQ(desktop->pasteboardString(), "two");
    editor.setSelectedRange(NSRange{0, 4});
    editor.cut(nullptr);
    EXPECT_EQ(editor.string(), "two");
    EXPECT_EQ(desktop->pasteboardString(), "one ");
    // Text another process copied, over several lines, pastes as one line.
    desktop->clearPasteboard();
    desktop->setPasteboardString("a\r\nb\nc");
    editor.selectAll(nullptr);
    editor.paste(nullptr);
    EXPECT_EQ(editor.string(), "a b c");
    EXPECT_EQ(editor.selectedRange(), (NSRange{5, 0}));
    // Nothing selected: copy and cut leave the pasteboard alone.
    editor.copy(nullptr);
    editor.cut(nullptr);
    EXPECT_EQ(desktop->pasteboardString(), "a\r\nb\nc");
}

TEST_F(FieldEditorTest, UndoTakesBackARunOfTypingInOneStepAndRedoPutsItBack) {
    type("abc");
    press(NSTextView::deleteKey);
    type("d");
    ASSERT_TRUE(editor.undoManager()->canUndo());
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "ab");
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "abc");
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "");
    EXPECT_FALSE(editor.undoManager()->canUndo());
    editor.undoManager()->redo();
    EXPECT_EQ(editor.string(), "abc");
    EXPECT_EQ(editor.selectedRange(), (NSRange{3, 0}));
    // A new change forgets what could be redone.
    type("x");
    EXPECT_FALSE(editor.undoManager()->canRedo());
    EXPECT_EQ(delegate.changes.back(), "abcx");
}

TEST_F(FieldEditorTest, MovingTheCaretEndsARunOfTyping) {
    type("ab");
    press(NSTextView::leftArrowKey);
    type("x");
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "ab");
    EXPECT_EQ(editor.selectedRange(), (NSRange{1, 0}));
}

TEST_F(FieldEditorTest, PastingAndCuttingAreStepsOfTheirOwn) {
    desktop->setPasteboardString("zz");
    type("ab");
    editor.paste(nullptr);
    editor.selectAll(nullptr);
    editor.cut(nullptr);
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "abzz");
    editor.undoManager()->undo();
    EXPECT_EQ(editor.string(), "ab");
}

TEST_F(FieldEditorTest, WithoutUndoNothingIsRecorded) {
    editor.setAllowsUndo(false);
    type("ab");
    EXPECT_FALSE(editor.undoManager()->canUndo());
    editor.setString("new");
    EXPECT_EQ(editor.selectedRange(), (NSRange{3, 0}));
}

}  // namespace
}  // namespace kelvo
