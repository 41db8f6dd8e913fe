#pragma once

#include <functional>
#include <memory>

#include "Platform/AppKit/NSView.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// An AppKit view inside a tree of views. The view and its coordinator are made once, the
/// first time the tree holds the representable at that place, and kept while it does; every
/// evaluation that lays it out brings the view up to date. The hosting view makes it one of
/// its subviews at the frame the layout gives it, so it draws, takes clicks and takes the keys
/// as any view of the window does.
///
/// Its size: a length the view asks for itself (`intrinsicContentSize`), else the length
/// proposed, else the view's own.
struct RepresentableFunctions {
    std::function<std::shared_ptr<void>()> makeCoordinator = nullptr;
    std::function<NSViewRef(const std::shared_ptr<void>& coordinator)> makeNSView = nullptr;
    std::function<void(NSView& view, const std::shared_ptr<void>& coordinator)> updateNSView =
        nullptr;
};
View NSViewRepresentableErased(RepresentableFunctions functions);

/// The typed form: `makeNSView` and `updateNSView` receive the coordinator `makeCoordinator`
/// made.
template <class ViewType, class Coordinator>
View NSViewRepresentable(std::function<std::shared_ptr<Coordinator>()> makeCoordinator,
                         std::function<std::shared_ptr<ViewType>(Coordinator&)> makeNSView,
                         std::function<void(ViewType&, Coordinator&)> updateNSView) {
    RepresentableFunctions functions;
    functions.makeCoordinator = [makeCoordinator]() -> std::shared_ptr<void> {
        return makeCoordinator ? makeCoordinator() : std::make_shared<Coordinator>();
    };
    functions.makeNSView = [makeNSView](const std::shared_ptr<void>& coordinator) -> NSViewRef {
        if (!makeNSView || !coordinator) return nullptr;
        return makeNSView(*std::static_pointer_cast<Coordinator>(coordinator));
    };
    functions.updateNSView = [updateNSView](NSView& view,
                                            const std::shared_ptr<void>& coordinator) {
        if (!updateNSView || !coordinator) return;
        updateNSView(static_cast<ViewType&>(view),
                     *std::static_pointer_cast<Coordinator>(coordinator));
    };
    return NSViewRepresentableErased(std::move(functions));
}

}  // namespace SwiftUI
