#include "KelvoApp/Services/Launcher/QueryField.h"

#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/SwiftUI/NSViewRepresentable.h"

namespace kelvo {

bool QueryTextField::becomeFirstResponder() {
    if (!NSTextField::becomeFirstResponder()) return false;
    if (NSTextView* editor = currentEditor()) {
        editor->setWantsLayer(true);
        editor->setDrawsBackground(false);
        editor->setBackgroundColor(NSColor::clearColor());
        editor->setAllowsUndo(true);
        editor->setInsertionPointColor(NSColor::whiteColor());
    }
    return true;
}

SwiftUI::View QueryField::body() const {
    const QueryField self = *this;
    return SwiftUI::NSViewRepresentable<QueryTextField, Coordinator>(
        [self] { return std::make_shared<Coordinator>(self.model_); }, &QueryField::makeNSView,
        [self](QueryTextField& field, Coordinator& coordinator) {
            self.updateNSView(field, coordinator);
        });
}

std::shared_ptr<QueryTextField> QueryField::makeNSView(Coordinator& coordinator) {
    auto field = std::make_shared<QueryTextField>();
    field->setBordered(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setFocusRingType(NSFocusRingType::none);
    field->setFont(NSFont::systemFontOfSize(fontSize));
    field->setTextColor(NSColor::whiteColor());
    field->setUsesSingleLineMode(true);
    field->setLineBreakMode(NSLineBreakMode::byTruncatingTail);
    field->cell().wraps = false;
    field->cell().isScrollable = true;
    field->setWantsLayer(true);
    field->layer()->setBackgroundColor(NSColor::clearColor()->CGColor());
    field->setPlaceholderString(placeholderText);
    NSTextAttributes placeholder;
    placeholder.font = NSFont::systemFontOfSize(fontSize);
    placeholder.foregroundColor = NSColor::whiteColor()->colorWithAlphaComponent(0.45);
    field->setPlaceholderAttributedString(NSAttributedString(placeholderText, placeholder));
    field->setDelegate(coordinator.shared_from_this());
    if (coordinator.model) coordinator.model->fieldView = field;
    return field;
}

void QueryField::updateNSView(QueryTextField& field, Coordinator& coordinator) const {
    coordinator.model = model_;
    const std::string& shown = model_->field.get();
    if (field.stringValue() == shown) return;
    field.setStringValue(shown);
    if (NSTextView* editor = field.currentEditor()) {
        editor->setSelectedRange(NSRange{editor->string().size(), 0});
    }
}

void QueryField::Coordinator::controlTextDidChange(const NSNotification& notification) {
    const auto* field = static_cast<const NSTextField*>(notification.object);
    if (field && model) model->type(field->stringValue());
}

bool QueryField::Coordinator::controlTextViewDoCommandBySelector(NSTextField&, NSTextView&,
                                                                 Selector command) {
    if (!model) return false;
    if (command == Selector::insertTab) {
        model->complete(true);
    } else if (command == Selector::insertBacktab) {
        model->complete(false);
    } else if (command == Selector::moveDown) {
        model->move(1);
    } else if (command == Selector::moveUp) {
        model->move(-1);
    } else if (command == Selector::insertNewline) {
        model->key(LauncherModel::Key::enter());
    } else if (command == Selector::cancelOperation) {
        model->key(LauncherModel::Key::escape());
    } else {
        return false;
    }
    return true;
}

}  // namespace kelvo
