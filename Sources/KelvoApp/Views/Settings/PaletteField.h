#pragma once

#include <memory>

#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The settings search's text field. It takes the standard editing chords itself (⌘A, ⌘X,
/// ⌘C, ⌘V, ⌘Z, ⌘⇧Z), which an application without an Edit menu would otherwise lose.
class SearchTextField : public NSTextField {
  public:
    using NSTextField::NSTextField;
    bool performKeyEquivalent(NSEvent& event) override;
};

/// The field where the settings search is typed: every edit goes to the model, and the list's
/// keys (↓ ↑ Tab ⇧Tab Return Escape) drive the search. The field keeps no state of its own:
/// its text follows the model's query.
class PaletteField {
  public:
    static constexpr CGFloat fontSize = 15;
    static constexpr const char* placeholderText = "Search settings…";
    static constexpr double placeholderAlpha = 0.42;
    /// The field's delegate: it holds the model.
    class Coordinator : public NSTextFieldDelegate,
                        public std::enable_shared_from_this<Coordinator> {
      public:
        explicit Coordinator(SettingsModel* model = nullptr) : model(model) {}
        void controlTextDidChange(const NSNotification& notification) override;
        bool controlTextViewDoCommandBySelector(NSTextField& control, NSTextView& textView,
                                                Selector command) override;
        SettingsModel* model;
        /// The field it drives, while it exists.
        std::weak_ptr<SearchTextField> field;
    };

    PaletteField(bool claimsFocus, SettingsModel& model) : claimsFocus(claimsFocus), model(model) {}

    /// The field as a view of the tree.
    SwiftUI::View body() const;
    static std::shared_ptr<SearchTextField> makeNSView(Coordinator& coordinator);
    /// Brings the field up to the model's query and, when it claims the focus, gives it the
    /// keys on the next turn of the main queue.
    void updateNSView(SearchTextField& field, Coordinator& coordinator) const;

    /// The field takes the keyboard focus when shown.
    bool claimsFocus;
    SettingsModel& model;
};

}  // namespace kelvo
