#include "Platform/SwiftUI/LayoutNode.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace SwiftUI {

namespace {

constexpr CGFloat cullingMargin = 32;

}  // namespace

void LayoutPaint::paint(const LayoutNode& node, const PaintTarget& target) const {
    paintChildren(node, target);
}

LayoutNode& LayoutNode::add(LayoutNode child) {
    children.push_back(std::move(child));
    return children.back();
}

LayoutNode& LayoutNode::add() {
    return children.emplace_back();
}

const LayoutNode* LayoutNode::find(const std::function<bool(const LayoutNode&)>& match) const {
    if (match(*this)) return this;
    for (const LayoutNode& child : children)
        if (const LayoutNode* found = child.find(match)) return found;
    return nullptr;
}

std::vector<const LayoutNode*> LayoutNode::findAll(
    const std::function<bool(const LayoutNode&)>& match) const {
    std::vector<const LayoutNode*> found;
    std::function<void(const LayoutNode&)> visit = [&](const LayoutNode& node) {
        if (match(node)) found.push_back(&node);
        for (const LayoutNode& child : node.children)
            visit(child);
    };
    visit(*this);
    return found;
}

const LayoutNode* LayoutNode::findKind(NodeKind wanted) const {
    return find([&](const LayoutNode& node) { return node.kind == wanted; });
}

const LayoutNode* LayoutNode::findText(const std::string& wanted) const {
    return find(
        [&](const LayoutNode& node) { return node.kind == NodeKind::text && node.text == wanted; });
}

const LayoutNode* LayoutNode::findIdentifier(const std::string& wanted) const {
    return find([&](const LayoutNode& node) { return node.identifier == wanted; });
}

const LayoutNode* LayoutNode::findRole(const std::string& wanted) const {
    return find(
        [&](const LayoutNode& node) { return node.element && node.element->role == wanted; });
}

std::vector<const LayoutNode*> LayoutNode::drawingOrder() const {
    std::vector<const LayoutNode*> order;
    order.reserve(children.size());
    for (const LayoutNode& child : children)
        order.push_back(&child);
    std::stable_sort(order.begin(), order.end(), [](const LayoutNode* a, const LayoutNode* b) {
        return a->zIndex < b->zIndex;
    });
    return order;
}

std::string LayoutNode::describe(int depth) const {
    std::ostringstream out;
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << kind << " (" << frame.origin.x
        << ", " << frame.origin.y << ", " << frame.size.width << ", " << frame.size.height << ")";
    if (!text.empty()) out << " \"" << text << "\"";
    if (!identifier.empty()) out << " id=" << identifier;
    out << "\n";
    for (const LayoutNode& child : children)
        out << child.describe(depth + 1);
    return out.str();
}

bool isFinite(const CGRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
           std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

namespace {

void extendReach(const LayoutNode& node, CGRect& reach) {
    const CGRect own = node.frame.standardized();
    const CGFloat minX = std::min(reach.minX(), own.minX());
    const CGFloat minY = std::min(reach.minY(), own.minY());
    reach = CGRect(minX, minY, std::max(reach.maxX(), own.maxX()) - minX,
                   std::max(reach.maxY(), own.maxY()) - minY);
    for (const LayoutNode& child : node.children)
        extendReach(child, reach);
}

}  // namespace

CGRect drawnReach(const LayoutNode& node) {
    CGRect reach = node.frame.standardized();
    extendReach(node, reach);
    return reach.insetBy(-cullingMargin, -cullingMargin);
}

void paintNode(const LayoutNode& node, const PaintTarget& target) {
    // Shadows and strokes reach a little beyond a frame.
    const CGRect reach = node.frame.insetBy(-cullingMargin, -cullingMargin);
    if (isFinite(reach) && !reach.intersects(target.visible)) return;
    if (node.paint) {
        node.paint->paint(node, target);
    } else {
        paintChildren(node, target);
    }
}

void paintChildren(const LayoutNode& node, const PaintTarget& target) {
    for (const LayoutNode* child : node.drawingOrder())
        paintNode(*child, target);
}

namespace {

bool inside(const CGRect& rect, CGPoint point) {
    return point.x >= rect.minX() && point.x < rect.maxX() && point.y >= rect.minY() &&
           point.y < rect.maxY();
}

}  // namespace

const LayoutNode* hitTest(const LayoutNode& node, CGPoint point) {
    if (!node.hitTesting) return nullptr;
    if (node.clipsChildren && !inside(node.frame, point)) return nullptr;
    std::vector<const LayoutNode*> order = node.drawingOrder();
    for (auto child = order.rbegin(); child != order.rend(); ++child)
        if (const LayoutNode* hit = hitTest(**child, point)) return hit;
    if (node.onClick && inside(node.contentShape.value_or(node.frame), point)) return &node;
    return nullptr;
}

const LayoutNode* scrollTest(const LayoutNode& node, CGPoint point) {
    if (node.clipsChildren && !inside(node.frame, point)) return nullptr;
    std::vector<const LayoutNode*> order = node.drawingOrder();
    for (auto child = order.rbegin(); child != order.rend(); ++child)
        if (const LayoutNode* hit = scrollTest(**child, point)) return hit;
    if (node.onScroll && inside(node.frame, point)) return &node;
    return nullptr;
}

}  // namespace SwiftUI
