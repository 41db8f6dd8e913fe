#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Platform/AppKit/EditedText.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSRange.h"
#include "Platform/AppKit/NSUndoManager.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/AppKit/Selector.h"

class NSTextView;

/// What a text view tells the one it edits for (a text field, for its field editor).
class NSTextViewDelegate {
  public:
    virtual ~NSTextViewDelegate() = default;
    /// The text changed by typing, deleting, cutting, pasting, undo or redo.
    virtual void textDidChange(NSTextView& textView) = 0;
    /// A command of the key bindings; true when the delegate took it.
    virtual bool textViewDoCommandBySelector(NSTextView& textView, Selector command) = 0;
    /// Return pressed and nobody took it.
    virtual void textDidPressReturn(NSTextView& textView) = 0;
    /// The text view stopped being first responder: the editing is over.
    virtual void textDidEndEditing(NSTextView& textView) = 0;
};

/// The field editor: the one text view that edits a text field while it has the keyboard
/// focus. Keys become typed text or the standard commands (the key bindings); the editing
/// actions (select all, cut, copy, paste, undo, redo) are messages it takes from a key
/// equivalent or a menu item, never from a key by itself. Copy and paste go through the
/// general pasteboard; every change can be undone while it allows undo, typing in one run
/// being one change.
class NSTextView : public NSView {
  public:
    /// Key codes the key bindings read.
    static constexpr std::uint16_t returnKey = 36;
    static constexpr std::uint16_t tabKey = 48;
    static constexpr std::uint16_t deleteKey = 51;
    static constexpr std::uint16_t escapeKey = 53;
    static constexpr std::uint16_t enterKey = 76;
    static constexpr std::uint16_t homeKey = 115;
    static constexpr std::uint16_t forwardDeleteKey = 117;
    static constexpr std::uint16_t endKey = 119;
    static constexpr std::uint16_t leftArrowKey = 123;
    static constexpr std::uint16_t rightArrowKey = 124;
    static constexpr std::uint16_t downArrowKey = 125;
    static constexpr std::uint16_t upArrowKey = 126;

    NSTextView();

    std::string string() const { return text_.text(); }
    /// Replaces the text without an undo step; the caret goes to its end.
    void setString(std::string string);
    NSRange selectedRange() const { return text_.selectedRange(); }
    void setSelectedRange(NSRange range);
    const EditedText& editedText() const { return text_; }

    bool isFieldEditor() const { return true; }
    bool allowsUndo() const { return allowsUndo_; }
    void setAllowsUndo(bool allows) { allowsUndo_ = allows; }
    NSUndoManager* undoManager() { return &undoManager_; }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }
    /// Null (for either colour): the one of the view's appearance.
    NSColorRef backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(NSColorRef colour) { backgroundColor_ = std::move(colour); }
    NSColorRef insertionPointColor() const { return insertionPointColor_; }
    void setInsertionPointColor(NSColorRef colour) { insertionPointColor_ = std::move(colour); }
    NSTextViewDelegate* delegate() const { return delegate_; }
    void setDelegate(NSTextViewDelegate* delegate) { delegate_ = delegate; }

    /// The command a key stands for in the key bindings; none for a key that types (or, with
    /// Command or Control, one that does nothing here).
    static std::optional<Selector> commandForKey(std::uint16_t keyCode, NSEventModifierFlags flags);
    bool acceptsFirstResponder() const override { return true; }
    bool resignFirstResponder() override;
    /// A key for the first responder, through the key bindings.
    void keyDown(NSEvent& event) override;
    /// The editing actions by name ("selectAll:", "cut:", "copy:", "paste:", "undo:", "redo:"),
    /// as a main menu's items or a responder chain send them.
    bool performAction(const std::string& selector, const void* sender) override;

    /// A key pressed while the text view has the focus: a command, typed text, or nothing.
    void interpretKey(std::uint16_t keyCode, NSEventModifierFlags flags,
                      const std::string& characters);
    /// Typed (or inserted) text in place of the selection; line breaks become spaces, as the
    /// field holds one line.
    void insertText(const std::string& text);
    /// Offers the command to the delegate, then carries it out when it is one of the
    /// standard commands; false when nobody took it.
    bool doCommandBySelector(Selector command);

    void selectAll(const void* sender);
    void cut(const void* sender);
    void copy(const void* sender);
    void paste(const void* sender);

  private:
    /// A change of the text, with its undo step unless it continues a run of typing.
    void edit(bool typing, const std::function<bool(EditedText&)>& change);
    void restore(const EditedText::Snapshot& snapshot);
    bool performStandardCommand(Selector command);
    void changed();

    EditedText text_;
    NSUndoManager undoManager_;
    bool allowsUndo_ = true;
    /// The last change was typing and nothing happened since, so more typing joins its step.
    bool typing_ = false;
    bool drawsBackground_ = true;
    NSColorRef backgroundColor_;
    NSColorRef insertionPointColor_;
    NSTextViewDelegate* delegate_ = nullptr;
};
