#include "Platform/AppKit/NSTextField.h"

void NSTextFieldDelegate::controlTextDidChange(const NSNotification&) {}

bool NSTextFieldDelegate::controlTextViewDoCommandBySelector(NSTextField&, NSTextView&, Selector) {
    return false;
}

NSTextField::NSTextField(CGRect frame) : NSView(frame) {}

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
    if (!editor_) editor_ = std::make_unique<NSTextView>();
    editor_->setFrame(CGRect(CGPoint{}, frame().size));
    editor_->setDelegate(this);
    // The editor takes on the field's look.
    editor_->setDrawsBackground(drawsBackground_);
    editor_->setBackgroundColor(backgroundColor_);
    editor_->setString(string_);
    editor_->undoManager()->removeAllActions();
    editor_->selectAll(nullptr);
    editing_ = true;
    return true;
}

void NSTextField::endEditing() {
    if (!editing_) return;
    string_ = editor_->string();
    editing_ = false;
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
    if (action_) action_(*this);
    textView.selectAll(nullptr);
}
