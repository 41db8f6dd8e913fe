#include "Platform/SwiftUI/NSViewRepresentable.h"

#include <cmath>

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

/// What outlives one evaluation at the representable's place.
struct Represented {
    std::shared_ptr<void> coordinator;
    NSViewRef view;
};

class RepresentableNode final : public ViewNode {
  public:
    explicit RepresentableNode(RepresentableFunctions functions)
        : functions_(std::move(functions)) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const Represented& represented = kept(environment);
        if (!represented.view) return {};
        const CGSize own = represented.view->frame().size;
        const CGSize intrinsic = represented.view->intrinsicContentSize();
        return CGSize{chosen(intrinsic.width, proposal.width, own.width),
                      chosen(intrinsic.height, proposal.height, own.height)};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        const Represented& represented = kept(environment);
        LayoutNode node;
        node.kind = NodeKind::representable;
        node.frame = frame;
        node.enabled = environment.isEnabled;
        node.hostedView = represented.view;
        if (represented.view && functions_.updateNSView &&
            !(environment.services && environment.services->inTrial()))
            functions_.updateNSView(*represented.view, represented.coordinator);
        parent.add(std::move(node));
    }

  private:
    static CGFloat chosen(CGFloat intrinsic, std::optional<CGFloat> proposed, CGFloat own) {
        if (intrinsic >= 0) return intrinsic;
        if (proposed && std::isfinite(*proposed)) return *proposed;
        return own;
    }

    Represented make() const {
        Represented represented;
        represented.coordinator =
            functions_.makeCoordinator ? functions_.makeCoordinator() : nullptr;
        if (functions_.makeNSView)
            represented.view = functions_.makeNSView(represented.coordinator);
        return represented;
    }

    /// The view and coordinator kept at this place, made the first time. Without a graph to
    /// keep them (a bare measurement), one is made for the question alone.
    const Represented& kept(const EnvironmentValues& environment) const {
        LayoutServices* services = environment.services;
        if (!services) {
            unkept_ = make();
            return unkept_;
        }
        const std::string key = environment.key("#representable");
        if (!services->has(key)) {
            Represented& made = services->stored(key, make());
            if (made.view && services->adoptHostedView) services->adoptHostedView(made.view);
            return made;
        }
        return services->stored(key, Represented{});
    }

    RepresentableFunctions functions_;
    mutable Represented unkept_;
};

}  // namespace

View NSViewRepresentableErased(RepresentableFunctions functions) {
    return View(std::make_shared<RepresentableNode>(std::move(functions)));
}

}  // namespace SwiftUI
