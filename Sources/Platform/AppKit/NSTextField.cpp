#include "Platform/AppKit/NSTextField.h"

void NSTextFieldDelegate::controlTextDidChange(const NSNotification&) {}

bool NSTextFieldDelegate::controlTextViewDoCommandBySelector(NSTextField&, NSTextView&, Selector) {
    return false;
}

#include "Platform/AppKit/NSWindow.h"

NSTextField::NSTextField(CGRect frame) : NSControl(frame) {}

NSTextField::~NSTextField() = default;

std::shared_ptr<NSTextField> NSTextField::labelWithString(std::string string) {
    auto label = std::make_shared<NSTextField>();
    label->string_ = std::move(string);
    label->editable_ = false;
    label->selectable_ = false;
    label->bezeled_ = false;
    label->drawsBackground_ = false;
    return label;
}

std::shared_ptr<NSTextField> NSTextField::textFieldWithString(std::string string) {
    auto field = std::make_shared<NSTextField>();
    field->string_ = std::move(string);
    field->drawsBackground_ = true;
    return field;
}

std::string NSTextField::stringValue() const {
    return editing_ ? editor_->string() : string_;
}

void NSTextField::setStringValue(std::string string) {
    string_ = std::move(string);
    if (editing_) editor_->setString(string_);
    setNeedsDisplay();
}

void NSTextField::setEditable(bool editable) {
    editable_ = editable;
    if (editable) selectable_ = true;
}

void NSTextField::setSelectable(bool selectable) {
    selectable_ = selectable;
    if (!selectable) editable_ = false;
}

bool NSTextField::becomeFirstResponder() {
    if (!acceptsFirstResponder()) return false;
    if (!editor_) editor_ = std::make_shared<NSTextView>();
    editor_->setFrame(bounds());
    editor_->setDelegate(this);
    // The editor takes on the field's look.
    editor_->setDrawsBackground(drawsBackground_);
    editor_->setBackgroundColor(backgroundColor_);
    editor_->setString(string_);
    editor_->undoManager()->removeAllActions();
    editor_->selectAll(nullptr);
    editing_ = true;
    // The editor lies over the field, so that the chain runs from it through the field.
    addSubview(editor_);
    if (NSWindow* shown = window()) shown->makeFirstResponder(editor_.get());
    setNeedsDisplay();
    return true;
}

void NSTextField::endEditing() {
    if (!editing_) return;
    NSWindow* shown = window();
    if (shown && shown->firstResponder() == editor_.get()) {
        shown->makeFirstResponder(nullptr);  // ends the editing through the editor
        return;
    }
    string_ = editor_->string();
    editing_ = false;
    editor_->removeFromSuperview();
    setNeedsDisplay();
}

void NSTextField::textDidEndEditing(NSTextView&) {
    string_ = editor_->string();
    editing_ = false;
    editor_->removeFromSuperview();
    setNeedsDisplay();
}

std::optional<sim::InterfaceElement> NSTextField::accessibilityElement() const {
    sim::InterfaceElement element;
    element.frame = bounds();
    element.enabled = isEnabled();
    if (!editable_) {
        element.role = "text";
        element.label = accessibilityLabel().empty() ? stringValue() : accessibilityLabel();
        return element;
    }
    element.role = "textField";
    if (!accessibilityLabel().empty()) {
        element.label = accessibilityLabel();
    } else {
        element.label = placeholderAttributed_ ? placeholderAttributed_->string() : placeholder_;
    }
    element.value = stringValue();
    if (!accessibilityIdentifier().empty()) element.identifier = accessibilityIdentifier();
    element.focused = editing_;
    return element;
}

void NSTextField::textDidChange(NSTextView& textView) {
    string_ = textView.string();
    if (const auto delegate = delegate_.lock()) {
        NSNotification notification;
        notification.name = NSControlTextDidChangeNotification;
        notification.object = this;
        delegate->controlTextDidChange(notification);
    }
}

bool NSTextField::textViewDoCommandBySelector(NSTextView& textView, Selector command) {
    const auto delegate = delegate_.lock();
    return delegate && delegate->controlTextViewDoCommandBySelector(*this, textView, command);
}

void NSTextField::textDidPressReturn(NSTextView& textView) {
    if (!action().empty()) sendAction(action(), target());
    textView.selectAll(nullptr);
}
