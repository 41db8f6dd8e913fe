#include "Platform/SwiftUI/View.h"

#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

class EmptyNode final : public ViewNode {
  public:
    CGSize sizeThatFits(const ProposedViewSize&, const EnvironmentValues&) const override {
        return {};
    }
    void place(const CGRect&, const EnvironmentValues&, LayoutNode&) const override {}
    bool isEmpty() const override { return true; }
};

/// Views spread into their container; alone (as a root), they stack vertically.
class GroupNode final : public ViewNode {
  public:
    explicit GroupNode(std::vector<View> content) : content_(std::move(content)) {}
    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        return measure(stacked(), proposal, environment);
    }
    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeView(stacked(), frame, environment, parent);
    }
    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        return baselineOf(stacked(), size, environment);
    }
    const std::vector<View>* listChildren() const override { return &content_; }
    bool isEmpty() const override { return flattened(content_).empty(); }

  private:
    /// Most groups are spread into a container and never laid out alone: their stack is made
    /// the first time it is asked for.
    const View& stacked() const {
        if (!stacked_) stacked_ = VStack(std::vector<View>(content_));
        return *stacked_;
    }

    std::vector<View> content_;
    mutable std::optional<View> stacked_;
};

const std::shared_ptr<const ViewNode>& emptyNode() {
    static const std::shared_ptr<const ViewNode> node = std::make_shared<EmptyNode>();
    return node;
}

}  // namespace

View::View() : node_(emptyNode()) {}

View::View(std::shared_ptr<const ViewNode> node) : node_(node ? std::move(node) : emptyNode()) {}

bool View::isEmpty() const {
    return node_->isEmpty();
}

View Group(std::vector<View> content) {
    return View(std::make_shared<GroupNode>(std::move(content)));
}

View EmptyView() {
    return View();
}

}  // namespace SwiftUI
