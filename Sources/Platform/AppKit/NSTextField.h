#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Base/Foundation/NSNotificationCenter.h"
#include "Platform/AppKit/NSAppearance.h"
#include "Platform/AppKit/NSAttributedString.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSControl.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/AppKit/NSParagraphStyle.h"
#include "Platform/AppKit/NSTextView.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/AppKit/Selector.h"

class NSTextField;

/// Posted to a text field's delegate after every change of its text by the person editing it;
/// the notification's object is the field.
inline const NSNotificationName NSControlTextDidChangeNotification =
    "NSControlTextDidChangeNotification";

/// What a text field tells whoever drives it.
class NSTextFieldDelegate {
  public:
    virtual ~NSTextFieldDelegate() = default;
    virtual void controlTextDidChange(const NSNotification& notification);
    /// A command of the field editor's key bindings ("insertTab:", "moveUp:", "cancelOperation:"
    /// …); true when the delegate took it, false to leave it to the field editor.
    virtual bool controlTextViewDoCommandBySelector(NSTextField& control, NSTextView& textView,
                                                    Selector command);
};

/// How the field's cell lays out its one line.
struct NSTextFieldCell {
    /// Text longer than the field wraps onto more lines; off here for single lines.
    bool wraps = true;
    /// The line scrolls sideways while it is edited, to keep the caret in view.
    bool isScrollable = false;
};

enum class NSFocusRingType { defaultType, none, exterior };

/// A text field: a label that shows a text, or an editable field that the person types into.
/// While it has the keyboard focus a field editor (an NSTextView) edits its text; the field
/// keeps its text in step with the editor and tells its delegate of every change and of the
/// editor's commands.
class NSTextField : public NSControl, private NSTextViewDelegate {
  public:
    explicit NSTextField(CGRect frame = {});
    ~NSTextField() override;
    /// A label: not editable, not selectable, no border or background.
    static std::shared_ptr<NSTextField> labelWithString(std::string string);
    /// An editable field holding the text.
    static std::shared_ptr<NSTextField> textFieldWithString(std::string string);

    /// The text, as the field editor has it while editing.
    std::string stringValue() const;
    /// Replaces the text; while editing, the editor's too (without an undo step).
    void setStringValue(std::string string);
    const std::string& placeholderString() const { return placeholder_; }
    void setPlaceholderString(std::string placeholder) { placeholder_ = std::move(placeholder); }
    /// Drawn in place of the plain placeholder when set.
    const std::optional<NSAttributedString>& placeholderAttributedString() const {
        return placeholderAttributed_;
    }
    void setPlaceholderAttributedString(std::optional<NSAttributedString> placeholder) {
        placeholderAttributed_ = std::move(placeholder);
    }
    /// The system font of 13 points unless set.
    const NSFontRef& font() const { return font_; }
    void setFont(NSFontRef font) { font_ = font ? std::move(font) : NSFont::systemFontOfSize(13); }
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode) { lineBreakMode_ = mode; }
    /// The look its colours follow where none is set; aqua unless set.
    const NSAppearanceRef& appearance() const { return appearance_; }
    void setAppearance(NSAppearanceRef appearance) { appearance_ = std::move(appearance); }

    /// Null: the label colour of the field's appearance.
    NSColorRef textColor() const { return textColor_; }
    void setTextColor(NSColorRef colour) { textColor_ = std::move(colour); }
    /// Null: the text background colour of the field's appearance.
    NSColorRef backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(NSColorRef colour) { backgroundColor_ = std::move(colour); }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered) { bordered_ = bordered; }
    bool isBezeled() const { return bezeled_; }
    void setBezeled(bool bezeled) { bezeled_ = bezeled; }
    NSFocusRingType focusRingType() const { return focusRing_; }
    void setFocusRingType(NSFocusRingType type) { focusRing_ = type; }
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable);
    bool usesSingleLineMode() const { return singleLine_; }
    void setUsesSingleLineMode(bool single) { singleLine_ = single; }
    NSTextFieldCell& cell() { return cell_; }
    const NSTextFieldCell& cell() const { return cell_; }

    /// Held weakly: a delegate that is gone hears nothing.
    void setDelegate(std::weak_ptr<NSTextFieldDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    std::shared_ptr<NSTextFieldDelegate> delegate() const { return delegate_.lock(); }
    bool acceptsFirstResponder() const override { return editable_ || selectable_; }
    /// Starts editing: the field editor takes the text with all of it selected and, in a
    /// window, becomes its first responder in the field's place. False for a field that takes
    /// no focus.
    bool becomeFirstResponder() override;
    /// The field editor while the field is being edited; null otherwise.
    NSTextView* currentEditor() const { return editing_ ? editor_.get() : nullptr; }
    /// Stops editing, keeping the text; the field editor lets go of the focus.
    void endEditing();

    /// Draws the field into the current graphics context, in its bounds: its background and
    /// border when it has them, then its one line cut at the tail with "…", or its placeholder
    /// when it holds no text; while editing, the field editor's line instead, scrolled to keep
    /// the caret in view, with the selection behind it and the caret.
    void drawRect(const CGRect& dirtyRect) override;
    /// A text field ("textField", or "text" for a label): its placeholder (or accessibility
    /// label) as label, its text as value, focused while it is edited.
    std::optional<sim::InterfaceElement> accessibilityElement() const override;

  private:
    /// The space between the field's edges and its text.
    static constexpr CGFloat textInset = 2;
    static constexpr CGFloat caretWidth = 1;

    NSTextAttributes textAttributes(const NSColorRef& colour) const;
    NSAppearanceRef effectiveAppearance() const;
    void drawPlainLine(const CGRect& line, const NSAppearance& look) const;
    void drawEditedLine(const CGRect& line, const NSAppearance& look) const;
    void drawPlaceholder(const CGRect& line, const NSAppearance& look) const;

    void textDidChange(NSTextView& textView) override;
    bool textViewDoCommandBySelector(NSTextView& textView, Selector command) override;
    void textDidPressReturn(NSTextView& textView) override;
    void textDidEndEditing(NSTextView& textView) override;

    std::string string_;
    std::string placeholder_;
    std::optional<NSAttributedString> placeholderAttributed_;
    NSFontRef font_ = NSFont::systemFontOfSize(13);
    NSLineBreakMode lineBreakMode_ = NSLineBreakMode::byClipping;
    NSAppearanceRef appearance_;
    NSColorRef textColor_;
    NSColorRef backgroundColor_;
    bool drawsBackground_ = false;
    bool bordered_ = false;
    bool bezeled_ = true;
    NSFocusRingType focusRing_ = NSFocusRingType::defaultType;
    bool editable_ = true;
    bool selectable_ = true;
    bool singleLine_ = false;
    NSTextFieldCell cell_;
    std::weak_ptr<NSTextFieldDelegate> delegate_;
    std::shared_ptr<NSTextView> editor_;
    bool editing_ = false;
    /// How far the edited line is scrolled to the left, in points.
    mutable CGFloat scrollOffset_ = 0;
};
