#include "KelvoApp/Views/Settings/PaletteField.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/EditingChords.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSFont.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/NSViewRepresentable.h"

namespace kelvo {

// ---- The editing chords -----------------------------------------------------------------------

bool SearchTextField::performKeyEquivalent(NSEvent& event) {
    const NSEventModifierFlags flags = event.modifierFlags() &
                                       NSEventModifierFlagDeviceIndependentFlagsMask &
                                       ~NSEventModifierFlagShift;
    if (flags != NSEventModifierFlagCommand) return NSTextField::performKeyEquivalent(event);
    const bool shift = (event.modifierFlags() & NSEventModifierFlagShift) != 0;
    const std::string key = UnicodeText::lowercased(event.charactersIgnoringModifiers());
    NSTextView* editor = currentEditor();
    if (key.empty() || !editor) return NSTextField::performKeyEquivalent(event);
    if (const auto taken = performEditingChord(*editor, key, shift, this)) return *taken;
    return NSTextField::performKeyEquivalent(event);
}

// ---- The field --------------------------------------------------------------------------------

SwiftUI::View PaletteField::body() const {
    const PaletteField self = *this;
    return SwiftUI::NSViewRepresentable<SearchTextField, Coordinator>(
        [self] { return std::make_shared<Coordinator>(&self.model); }, &PaletteField::makeNSView,
        [self](SearchTextField& field, Coordinator& coordinator) {
            self.updateNSView(field, coordinator);
        });
}

std::shared_ptr<SearchTextField> PaletteField::makeNSView(Coordinator& coordinator) {
    auto field = std::make_shared<SearchTextField>();
    field->setStringValue("");
    field->setBordered(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setFocusRingType(NSFocusRingType::none);
    field->setFont(NSFont::systemFontOfSize(fontSize, NSFontWeightRegular));
    field->setTextColor(NSColor::whiteColor());
    field->setLineBreakMode(NSLineBreakMode::byTruncatingTail);
    field->setUsesSingleLineMode(true);
    field->cell().wraps = false;
    field->cell().isScrollable = true;
    NSTextAttributes placeholder;
    placeholder.font = NSFont::systemFontOfSize(fontSize, NSFontWeightRegular);
    placeholder.foregroundColor = NSColor::whiteColor()->colorWithAlphaComponent(placeholderAlpha);
    field->setPlaceholderString(placeholderText);
    field->setPlaceholderAttributedString(NSAttributedString(placeholderText, placeholder));
    field->setDelegate(coordinator.shared_from_this());
    coordinator.field = field;
    return field;
}

void PaletteField::updateNSView(SearchTextField& field, Coordinator& coordinator) const {
    coordinator.model = &model;
    const std::string& query = model.search->query();
    // The model holds the text; an unchanged one is not written back, so the caret stays.
    if (field.stringValue() != query) field.setStringValue(query);
    NSWindow* window = field.window();
    if (!claimsFocus || !window) return;
    NSTextView* editor = field.currentEditor();
    if (editor && window->firstResponder() == editor) return;
    DispatchQueue::main().async([weak = coordinator.field] {
        const auto shown = weak.lock();
        if (!shown || !shown->window() || !shown->superview()) return;
        shown->window()->makeFirstResponder(shown.get());
    });
}

void PaletteField::Coordinator::controlTextDidChange(const NSNotification& notification) {
    const auto* edited = static_cast<const NSTextField*>(notification.object);
    if (edited && model) model->typeSearch(edited->stringValue());
}

bool PaletteField::Coordinator::controlTextViewDoCommandBySelector(NSTextField&, NSTextView&,
                                                                   Selector command) {
    if (!model) return false;
    if (command == Selector::moveDown || command == Selector::insertTab) {
        model->search.modify([](SettingsSearch& search) { search.move(1); });
    } else if (command == Selector::moveUp || command == Selector::insertBacktab) {
        model->search.modify([](SettingsSearch& search) { search.move(-1); });
    } else if (command == Selector::insertNewline) {
        model->commitSearch(std::nullopt);
    } else if (command == Selector::cancelOperation) {
        model->closeSearch();
    } else {
        return false;
    }
    return true;
}

}  // namespace kelvo
