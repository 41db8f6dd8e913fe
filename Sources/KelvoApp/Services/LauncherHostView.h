#pragma once

#include <memory>

#include "KelvoApp/Services/LauncherViewModel.h"
#include "KelvoApp/Services/QueryField.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo {

/// Puts the launcher's view tree into the panel: lays it out at the view's size, draws it,
/// hands it clicks, and keeps the query field's text field where the tree places the field.
class LauncherHostView : public NSView {
  public:
    explicit LauncherHostView(std::shared_ptr<LauncherViewModel> model);

    /// Lays the tree out at the view's size now and places the query field.
    void layoutContent();
    const std::shared_ptr<QueryTextField>& field() const { return field_; }
    SwiftUI::ViewGraph& graph() { return graph_; }

    void drawRect(const CGRect& dirtyRect) override;
    void mouseDown(NSEvent& event) override;
    bool isFlipped() const override { return false; }

  private:
    void placeField();

    std::shared_ptr<LauncherViewModel> model_;
    QueryField query_;
    std::shared_ptr<QueryTextField> field_;
    SwiftUI::ViewGraph graph_;
};

}  // namespace kelvo
