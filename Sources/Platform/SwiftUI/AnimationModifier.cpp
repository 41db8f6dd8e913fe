#include <vector>

#include "Base/Foundation/DispatchTime.h"
#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ModifierNode.h"

namespace SwiftUI {

namespace {

/// The colours of a laid-out subtree, node by node in depth-first order.
std::vector<std::optional<Color>> coloursOf(const LayoutNode& node) {
    std::vector<std::optional<Color>> colours;
    for (const LayoutNode* each : node.findAll([](const LayoutNode&) { return true; }))
        colours.push_back(each->color);
    return colours;
}

double mix(double from, double to, double progress) {
    return from + (to - from) * progress;
}

Color mix(const Color& from, const Color& to, double progress) {
    const CGColorValue a = from.value().clamped();
    const CGColorValue b = to.value().clamped();
    return Color(mix(a.red, b.red, progress), mix(a.green, b.green, progress),
                 mix(a.blue, b.blue, progress), mix(a.alpha, b.alpha, progress));
}

/// Where an animation of a subtree stands.
struct AnimationState {
    std::any value = {};
    /// The colours the subtree ended with last time, and those it leaves from now.
    std::vector<std::optional<Color>> last = {};
    std::vector<std::optional<Color>> from = {};
    DispatchTime start = {};
    bool running = false;
};

/// When the watched value changes, the colours below move from what they were to what they
/// are now over the animation's curve, a frame at a time on the runtime's clock.
class AnimationNode final : public ModifierNode {
  public:
    AnimationNode(View content, Animation animation, std::any value,
                  std::function<bool(const std::any&, const std::any&)> equal)
        : ModifierNode(std::move(content)),
          animation_(animation),
          value_(std::move(value)),
          equal_(std::move(equal)) {}

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = placeContent(frame, environment, parent);
        LayoutServices* services = environment.services;
        if (!services || services->inTrial()) return;
        const std::string key = environment.key("#animation");
        const bool seen = services->has(key);
        AnimationState& state = services->stored(key, AnimationState{value_});
        const std::vector<std::optional<Color>> now = coloursOf(node);
        if (seen && !equal_(state.value, value_)) {
            state.value = value_;
            state.from = state.running ? current(state, state.last) : state.last;
            state.start = DispatchTime::now();
            state.running = true;
        }
        state.last = now;
        if (!state.running) return;
        const double progress =
            animation_.progress(secondsBetween(state.start, DispatchTime::now()));
        std::size_t index = 0;
        for (LayoutNode* each : mutableNodes(node)) {
            if (index < state.from.size() && state.from[index] && each->color)
                each->color = mix(*state.from[index], *each->color, progress);
            ++index;
        }
        if (progress >= 1) {
            state.running = false;
        } else {
            services->needsFrame();
        }
    }

  private:
    /// The colours shown at this moment of a running animation.
    std::vector<std::optional<Color>> current(
        const AnimationState& state, const std::vector<std::optional<Color>>& targets) const {
        const double progress =
            animation_.progress(secondsBetween(state.start, DispatchTime::now()));
        std::vector<std::optional<Color>> shown = targets;
        for (std::size_t i = 0; i < shown.size() && i < state.from.size(); ++i)
            if (shown[i] && state.from[i]) shown[i] = mix(*state.from[i], *shown[i], progress);
        return shown;
    }
    static std::vector<LayoutNode*> mutableNodes(LayoutNode& node) {
        std::vector<LayoutNode*> nodes{&node};
        for (LayoutNode& child : node.children)
            for (LayoutNode* each : mutableNodes(child))
                nodes.push_back(each);
        return nodes;
    }

    Animation animation_;
    std::any value_;
    std::function<bool(const std::any&, const std::any&)> equal_;
};

}  // namespace

View View::animationErased(const Animation& animation, std::any value,
                           std::function<bool(const std::any&, const std::any&)> equal) const {
    return View(
        std::make_shared<AnimationNode>(*this, animation, std::move(value), std::move(equal)));
}

}  // namespace SwiftUI
