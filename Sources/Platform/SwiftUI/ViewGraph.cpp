#include "Platform/SwiftUI/ViewGraph.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchQueue.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

namespace {

/// A length the views may answer that cannot be laid out in a window (an infinite or
/// unmeasurable one) is the window's own.
CGFloat usable(CGFloat length, CGFloat fallback) {
    return std::isfinite(length) ? length : (std::isfinite(fallback) ? fallback : 0);
}

}  // namespace

ViewGraph::ViewGraph(std::function<View()> body) : makeBody_(std::move(body)) {
    std::weak_ptr<bool> alive = alive_;
    services_.onInvalidate = [this, alive] {
        if (alive.lock()) setNeedsUpdate();
    };
    services_.onNeedsFrame = [this, alive] {
        if (alive.lock()) scheduleFrame();
    };
}

ViewGraph::~ViewGraph() {
    *alive_ = false;
}

void ViewGraph::observe(ObservableObject& object) {
    std::weak_ptr<bool> alive = alive_;
    subscriptions_.push_back(object.subscribe([this, alive] {
        if (alive.lock()) setNeedsUpdate();
    }));
}

View& ViewGraph::body() {
    if (!body_) {
        body_ = makeBody_ ? makeBody_() : View();
        ++evaluations_;
    }
    return *body_;
}

const LayoutNode& ViewGraph::layout(CGSize size) {
    const CGSize window = sanitizedSize(size);
    EnvironmentValues environment;
    environment.services = &services_;
    services_.beginPass();
    const View& root = body();
    const CGSize chosen = measure(root, ProposedViewSize::of(window), environment);
    const CGSize placed{usable(chosen.width, window.width), usable(chosen.height, window.height)};
    // The last tree goes first: the new one is made in the memory it leaves.
    tree_ = LayoutNode();
    tree_.kind = NodeKind::root;
    tree_.frame =
        CGRect(0, 0, usable(window.width, placed.width), usable(window.height, placed.height));
    placeView(
        root,
        CGRect(alignedOffset(HorizontalAlignment::center, tree_.frame.size.width, placed.width),
               alignedOffset(VerticalAlignment::center, tree_.frame.size.height, placed.height),
               placed.width, placed.height),
        environment, tree_);
    size_ = tree_.frame.size;
    services_.endPass();
    return tree_;
}

CGSize ViewGraph::fittingSize(const ProposedViewSize& proposal) {
    // Answers of an earlier pass may belong to views that are gone.
    services_.newPass();
    EnvironmentValues environment;
    environment.services = &services_;
    return measure(body(), proposal, environment);
}

void ViewGraph::draw(CGContext& context) const {
    context.saveGState();
    context.translateBy(0, size_.height);
    context.scaleBy(1, -1);
    paintNode(tree_, PaintTarget{context, CGRect(CGPoint{}, size_)});
    context.restoreGState();
}

bool ViewGraph::click(CGPoint point) {
    dragging_ = nullptr;
    const LayoutNode* hit = hitTest(tree_, point);
    if (!hit) return false;
    if (hit->enabled && hit->onDrag) dragging_ = hit->onDrag;
    if (hit->enabled && hit->onClick) {
        // The handler may lead to a new layout; it runs on a copy of itself.
        const auto action = hit->onClick;
        action(point);
    }
    return true;
}

bool ViewGraph::drag(CGPoint point) {
    if (!dragging_) return false;
    // The handler may lead to a new layout; it runs on a copy of itself.
    const auto follow = dragging_;
    follow(point);
    return true;
}

bool ViewGraph::release(CGPoint point) {
    const bool followed = drag(point);
    dragging_ = nullptr;
    return followed;
}

void ViewGraph::hover(std::optional<CGPoint> point) {
    // Views that listen are known by their frames from one layout to the next.
    std::vector<CGRect> now;
    std::vector<std::function<void()>> calls;
    if (point)
        for (const LayoutNode* node : tree_.findAll(
                 [&](const LayoutNode& n) { return n.onHover && n.frame.contains(*point); })) {
            now.push_back(node->frame);
            if (std::find(hovered_.begin(), hovered_.end(), node->frame) == hovered_.end())
                calls.push_back([action = node->onHover] { action(true); });
        }
    for (const LayoutNode* node : tree_.findAll([&](const LayoutNode& n) {
             return n.onHover &&
                    std::find(hovered_.begin(), hovered_.end(), n.frame) != hovered_.end() &&
                    std::find(now.begin(), now.end(), n.frame) == now.end();
         }))
        calls.push_back([action = node->onHover] { action(false); });
    hovered_ = std::move(now);
    for (const auto& call : calls)
        call();
}

bool ViewGraph::scroll(CGPoint point, CGFloat deltaY) {
    const LayoutNode* scrolled = scrollTest(tree_, point);
    if (!scrolled) return false;
    const auto action = scrolled->onScroll;
    action(deltaY);
    return true;
}

bool ViewGraph::press(const KeyboardShortcut& shortcut) {
    const LayoutNode* button = tree_.find([&](const LayoutNode& node) {
        return node.shortcut == shortcut && node.enabled && node.onClick;
    });
    if (!button) return false;
    const auto action = button->onClick;
    action(CGPoint{button->frame.midX(), button->frame.midY()});
    return true;
}

bool ViewGraph::type(const std::string& text) {
    const LayoutNode* field = tree_.find(
        [](const LayoutNode& node) { return node.focused && node.onText && node.enabled; });
    if (!field) return false;
    const auto onText = field->onText;
    onText(text);
    return true;
}

void ViewGraph::setNeedsUpdate() {
    if (updateScheduled_) return;
    updateScheduled_ = true;
    std::weak_ptr<bool> alive = alive_;
    DispatchQueue::main().async([this, alive] {
        if (alive.lock()) updateIfNeeded();
    });
}

void ViewGraph::updateIfNeeded() {
    if (!updateScheduled_) return;
    updateScheduled_ = false;
    body_.reset();
    update();
}

void ViewGraph::scheduleFrame() {
    if (frameScheduled_) return;
    frameScheduled_ = true;
    std::weak_ptr<bool> alive = alive_;
    DispatchQueue::main().asyncAfter(DispatchTime::now() + frameInterval, [this, alive] {
        if (!alive.lock()) return;
        frameScheduled_ = false;
        update();
    });
}

void ViewGraph::update() {
    layout(updateSize ? updateSize() : size_);
    if (onUpdate) onUpdate();
}

}  // namespace SwiftUI
