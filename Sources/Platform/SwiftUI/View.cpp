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
    explicit GroupNode(std::vector<View> content)
        : content_(std::move(content)), stacked_(VStack(std::vector<View>(content_))) {}
    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        return measure(stacked_, proposal, environment);
    }
    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeView(stacked_, frame, environment, parent);
    }
    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        return baselineOf(stacked_, size, environment);
    }
    const std::vector<View>* listChildren() const override { return &content_; }
    bool isEmpty() const override { return flattened(content_).empty(); }

  private:
    std::vector<View> content_;
    View stacked_;
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
