#include "Platform/SwiftUI/ModifierNode.h"

namespace SwiftUI {

LayoutNode& ModifierNode::placeContent(const CGRect& frame, const EnvironmentValues& environment,
                                       LayoutNode& parent) const {
    const std::size_t before = parent.children.size();
    ModifierNode::place(frame, environment, parent);
    if (parent.children.size() == before) {
        LayoutNode& empty = parent.add();
        empty.kind = NodeKind::empty;
        empty.frame = frame;
        empty.opacity = environment.opacity;
        empty.enabled = environment.isEnabled;
    }
    return parent.children.back();
}

LayoutNode& wrapNode(LayoutNode& parent, NodeKind kind, const CGRect& frame,
                     const EnvironmentValues& environment) {
    LayoutNode& node = parent.add();
    node.kind = kind;
    node.frame = frame;
    node.opacity = environment.opacity;
    node.enabled = environment.isEnabled;
    return node;
}

}  // namespace SwiftUI
