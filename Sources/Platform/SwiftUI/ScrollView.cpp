#include "Platform/SwiftUI/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "Base/Foundation/DispatchTime.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ModifierNode.h"

namespace SwiftUI {

namespace {

/// The path of the reader a scroll view answers to.
struct ScrollReaderKey {
    using Value = std::string;
    static Value defaultValue() { return {}; }
};

/// Where a scroll view is, and where it is going.
struct ScrollPosition {
    CGFloat offset = 0;
    CGFloat from = 0;
    CGFloat to = 0;
    DispatchTime start;
    std::optional<Animation> animation;
};

class ClipPaint final : public LayoutPaint {
  public:
    void paint(const LayoutNode& node, const PaintTarget& target) const override {
        target.context.saveGState();
        target.context.clip(node.frame);
        paintChildren(node, PaintTarget{target.context, target.visible.intersection(node.frame)});
        target.context.restoreGState();
    }
};

class ScrollViewNode final : public ViewNode {
  public:
    explicit ScrollViewNode(View content) : content_(std::move(content)) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        const CGSize content =
            measure(content_, ProposedViewSize{proposal.width, std::nullopt}, inner(environment));
        return {proposal.width.value_or(content.width), proposal.height.value_or(content.height)};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        const EnvironmentValues content = inner(environment);
        const CGSize size =
            measure(content_, ProposedViewSize{frame.size.width, std::nullopt}, content);
        const CGFloat most = std::max(size.height - frame.size.height, 0.0);
        CGFloat offset = 0;
        LayoutServices* services = environment.services;
        if (services) {
            ScrollPosition& position =
                services->stored(environment.key("#scroll"), ScrollPosition{});
            follow(position, frame, size, content, environment);
            offset = position.offset = std::clamp(position.offset, 0.0, most);
        }
        LayoutNode& node = wrapNode(parent, NodeKind::scrollView, frame, environment);
        if (services) node.onScroll = wheel(*services, environment.key("#scroll"), most);
        node.clipsChildren = true;
        node.element = AccessibilityElement{"scrollArea", "", std::nullopt};
        node.paint = std::make_shared<ClipPaint>();
        placeView(content_,
                  CGRect(frame.origin.x, frame.origin.y - offset, size.width, size.height), content,
                  node);
    }

  private:
    /// The wheel moves the content at once, as far as it goes, and ends a scroll on its way.
    static std::function<void(CGFloat)> wheel(LayoutServices& services, std::string key,
                                              CGFloat most) {
        return [&services, key = std::move(key), most](CGFloat deltaY) {
            ScrollPosition& position = services.stored(key, ScrollPosition{});
            position.animation.reset();
            position.offset = std::clamp(position.offset - deltaY, 0.0, most);
            services.needsFrame();
        };
    }

    static EnvironmentValues inner(const EnvironmentValues& environment) {
        EnvironmentValues result = environment.child("content");
        result.stackAxis.reset();
        return result;
    }

    /// Takes a scroll asked of the reader around, and moves along an animated one.
    void follow(ScrollPosition& position, const CGRect& frame, CGSize size,
                const EnvironmentValues& content, const EnvironmentValues& environment) const {
        LayoutServices& services = *environment.services;
        const std::string reader = environment.get<ScrollReaderKey>();
        if (const std::optional<ScrollTarget> target =
                reader.empty() ? std::nullopt : services.takeScroll(reader)) {
            LayoutNode probe;
            LayoutServices::Trial trial(services);
            placeView(content_, CGRect(0, 0, size.width, size.height), content, probe);
            if (const LayoutNode* found = probe.findIdentifier(target->identifier)) {
                const CGFloat wanted = found->frame.minY() +
                                       found->frame.height() * target->anchor.y -
                                       frame.size.height * target->anchor.y;
                position.from = position.offset;
                position.to =
                    std::clamp(wanted, 0.0, std::max(size.height - frame.size.height, 0.0));
                position.start = DispatchTime::now();
                position.animation = target->animation;
                position.offset = position.animation ? position.from : position.to;
            }
        }
        if (position.animation) {
            const double progress =
                position.animation->progress(secondsBetween(position.start, DispatchTime::now()));
            position.offset = position.from + (position.to - position.from) * progress;
            if (progress >= 1) {
                position.animation.reset();
            } else {
                services.needsFrame();
            }
        }
    }

    View content_;
};

class ScrollViewReaderNode final : public BuildingNode {
  public:
    explicit ScrollViewReaderNode(std::function<View(const ScrollViewProxy&)> content)
        : BuildingNode(true), content_(std::move(content)) {}

  protected:
    View build(const EnvironmentValues& environment) const override {
        return content_(ScrollViewProxy(environment.services, environment.key("#reader")));
    }
    EnvironmentValues inner(const EnvironmentValues& environment) const override {
        EnvironmentValues result = environment;
        result.set<ScrollReaderKey>(environment.key("#reader"));
        return result;
    }

  private:
    std::function<View(const ScrollViewProxy&)> content_;
};

}  // namespace

void ScrollViewProxy::scrollTo(const std::string& identifier, UnitPoint anchor,
                               std::optional<Animation> animation) const {
    if (!services_) return;
    services_->requestScroll(path_, ScrollTarget{identifier, anchor, animation});
    services_->needsFrame();
}

View ScrollView(View content, bool) {
    return View(std::make_shared<ScrollViewNode>(std::move(content)));
}

View ScrollViewReader(std::function<View(const ScrollViewProxy&)> content) {
    return View(std::make_shared<ScrollViewReaderNode>(std::move(content)));
}

}  // namespace SwiftUI
