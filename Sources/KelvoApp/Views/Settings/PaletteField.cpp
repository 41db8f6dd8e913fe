#include "KelvoApp/Views/Settings/PaletteField.h"

#include "KelvoApp/Settings/SettingsModel.h"

namespace kelvo {

bool SearchTextField::performKeyEquivalent(NSEvent& event) {
    return NSTextField::performKeyEquivalent(event);
}

void PaletteField::Coordinator::controlTextDidChange(const NSNotification&) {}

bool PaletteField::Coordinator::controlTextViewDoCommandBySelector(NSTextField&, NSTextView&,
                                                                   Selector) {
    return false;
}

SwiftUI::View PaletteField::body() const {
    return SwiftUI::EmptyView();
}

std::shared_ptr<SearchTextField> PaletteField::makeNSView(Coordinator&) {
    return std::make_shared<SearchTextField>();
}

void PaletteField::updateNSView(SearchTextField&, Coordinator&) const {}

}  // namespace kelvo
