#include <utility>
#include <vector>

#include "KelvoCore/Layout/LayoutTree.h"

namespace kelvo {

using Node = LayoutTree::Node;

struct Node::Body {
    Kind kind = Kind::leaf;
    WindowID window;
    Axis axis = Axis::vertical;
    double ratio = 0;
    Node first;  // both empty for a leaf
    Node second;

    explicit Body(WindowID w) : kind(Kind::leaf), window(w) {}
    Body(Axis a, double r, Node f, Node s)
        : kind(Kind::split), axis(a), ratio(r), first(std::move(f)), second(std::move(s)) {}
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;
    ~Body();
};

Node::Body::~Body() {
    // Letting the members go would destroy a chain of sole-owned children one nested
    // destructor inside another; a long chain would run out of stack. Children that only this
    // body owns are unhooked instead and released one at a time from this loop.
    std::vector<std::shared_ptr<const Body>> orphans;
    const auto unhook = [&orphans](Node& child) {
        if (child.body_ && child.body_.use_count() == 1) orphans.push_back(std::move(child.body_));
    };
    unhook(first);
    unhook(second);
    while (!orphans.empty()) {
        std::shared_ptr<const Body> orphan = std::move(orphans.back());
        orphans.pop_back();
        // Sole owner: nobody else can see the body, and it was created mutable.
        auto& body = const_cast<Body&>(*orphan);
        unhook(body.first);
        unhook(body.second);
    }
}

Node Node::leaf(WindowID window) {
    return Node(std::make_shared<const Body>(window));
}

Node Node::split(Axis axis, double ratio, Node first, Node second) {
    return Node(std::make_shared<const Body>(axis, ratio, std::move(first), std::move(second)));
}

Node::Kind Node::kind() const {
    return body_->kind;
}

std::optional<WindowID> Node::window() const {
    if (body_->kind != Kind::leaf) return std::nullopt;
    return body_->window;
}

std::optional<Axis> Node::axis() const {
    if (body_->kind != Kind::split) return std::nullopt;
    return body_->axis;
}

std::optional<double> Node::ratio() const {
    if (body_->kind != Kind::split) return std::nullopt;
    return body_->ratio;
}

const Node* Node::first() const {
    return body_->kind == Kind::split ? &body_->first : nullptr;
}

const Node* Node::second() const {
    return body_->kind == Kind::split ? &body_->second : nullptr;
}

bool Node::operator==(const Node& other) const {
    std::vector<std::pair<const Body*, const Body*>> pending{{body_.get(), other.body_.get()}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (a == b) continue;  // a shared subtree equals itself
        if (a->kind != b->kind) return false;
        if (a->kind == Kind::leaf) {
            if (a->window != b->window) return false;
            continue;
        }
        if (a->axis != b->axis || a->ratio != b->ratio) return false;
        pending.emplace_back(a->second.body_.get(), b->second.body_.get());
        pending.emplace_back(a->first.body_.get(), b->first.body_.get());
    }
    return true;
}

}  // namespace kelvo
