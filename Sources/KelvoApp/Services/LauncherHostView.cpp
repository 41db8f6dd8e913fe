#include "KelvoApp/Services/LauncherHostView.h"

#include "KelvoApp/Services/LauncherView.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/SwiftUI/Color.h"

namespace kelvo {

namespace {

constexpr const char* fieldIdentifier = "launcher.field";

}  // namespace

LauncherHostView::LauncherHostView(std::shared_ptr<LauncherViewModel> model)
    : model_(model), query_(model), field_(query_.makeNSView()), graph_([model] {
          // The text field is a view of its own over the tree; the tree keeps its place.
          return LauncherView(model, SwiftUI::Color::clear().view()).body();
      }) {
    graph_.observe(*model_);
    graph_.onUpdate = [this] {
        query_.updateNSView(*field_);
        placeField();
        setNeedsDisplay();
    };
    addSubview(field_);
}

void LauncherHostView::layoutContent() {
    graph_.layout(bounds().size);
    query_.updateNSView(*field_);
    placeField();
    setNeedsDisplay();
}

void LauncherHostView::placeField() {
    if (graph_.size() != bounds().size) graph_.layout(bounds().size);
    const SwiftUI::LayoutNode* node = graph_.tree().findIdentifier(fieldIdentifier);
    if (!node) return;
    // The tree runs top-down; this view runs upwards from its bottom left.
    const CGRect place = node->frame;
    field_->setFrame(
        CGRect(place.minX(), bounds().height() - place.maxY(), place.width(), place.height()));
}

void LauncherHostView::drawRect(const CGRect&) {
    NSGraphicsContext* current = NSGraphicsContext::currentContext();
    if (!current) return;
    if (graph_.size() != bounds().size) graph_.layout(bounds().size);
    graph_.draw(current->cgContext());
}

void LauncherHostView::mouseDown(NSEvent& event) {
    const CGPoint point = convertPointFromWindow(event.locationInWindow());
    graph_.click(CGPoint(point.x, bounds().height() - point.y));
}

}  // namespace kelvo
