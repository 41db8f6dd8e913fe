#pragma once

#include <memory>

#include "KelvoApp/Services/Launcher/LauncherViewModel.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The launcher's text field: when it takes the focus its field editor draws on the panel's
/// material, with a white caret, and keeps an undo history.
class QueryTextField : public NSTextField {
  public:
    using NSTextField::NSTextField;
    bool becomeFirstResponder() override;
};

/// The query field of the launcher view: makes the text field, keeps it in step with the view
/// model, and turns the field editor's text and commands into the launcher's.
class QueryField {
  public:
    static constexpr CGFloat fontSize = 20;
    static constexpr const char* placeholderText = "Open or switch to…";

    /// The field's delegate: it holds the view model.
    class Coordinator : public NSTextFieldDelegate,
                        public std::enable_shared_from_this<Coordinator> {
      public:
        explicit Coordinator(std::shared_ptr<LauncherViewModel> model = nullptr)
            : model(std::move(model)) {}
        void controlTextDidChange(const NSNotification& notification) override;
        bool controlTextViewDoCommandBySelector(NSTextField& control, NSTextView& textView,
                                                Selector command) override;
        std::shared_ptr<LauncherViewModel> model;
    };

    explicit QueryField(std::shared_ptr<LauncherViewModel> model) : model_(std::move(model)) {}

    /// The field as a view of the launcher's tree.
    SwiftUI::View body() const;
    static std::shared_ptr<QueryTextField> makeNSView(Coordinator& coordinator);
    /// Brings the field up to the published text; the caret follows a replaced text to its end.
    void updateNSView(QueryTextField& field, Coordinator& coordinator) const;

  private:
    std::shared_ptr<LauncherViewModel> model_;
};

}  // namespace kelvo
