#include <cmath>

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ModifierNode.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

namespace {

class EnvironmentNode final : public ModifierNode {
  public:
    EnvironmentNode(View content, std::function<void(EnvironmentValues&)> transform)
        : ModifierNode(std::move(content), true), transform_(std::move(transform)) {}

  protected:
    EnvironmentValues inner(const EnvironmentValues& environment) const override {
        EnvironmentValues result = environment;
        transform_(result);
        return result;
    }

  private:
    std::function<void(EnvironmentValues&)> transform_;
};

/// A new identity for the content: its state and scroll targets follow the id.
class IdentityNode final : public ModifierNode {
  public:
    IdentityNode(View content, std::string identity)
        : ModifierNode(std::move(content), true), identity_(std::move(identity)) {}

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeContent(frame, environment, parent).identifier = identity_;
    }

  protected:
    EnvironmentValues inner(const EnvironmentValues& environment) const override {
        return environment.child("#" + identity_);
    }

  private:
    std::string identity_;
};

/// Calls back once a pass is over when a value differs from the one of the pass before.
class ChangeNode final : public ModifierNode {
  public:
    ChangeNode(View content, std::any value,
               std::function<bool(const std::any&, const std::any&)> equal,
               std::function<void(const std::any&)> action)
        : ModifierNode(std::move(content)),
          value_(std::move(value)),
          equal_(std::move(equal)),
          action_(std::move(action)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeContent(frame, environment, parent);
        LayoutServices* services = environment.services;
        if (!services || services->inTrial()) return;
        const std::string key = environment.key("#onChange");
        const bool seen = services->has(key);
        std::any& last = services->stored(key, value_);
        if (seen && !equal_(last, value_)) {
            last = value_;
            services->afterLayout([action = action_, now = value_] { action(now); });
        }
    }

  private:
    std::any value_;
    std::function<bool(const std::any&, const std::any&)> equal_;
    std::function<void(const std::any&)> action_;
};

class AppearanceNode final : public ModifierNode {
  public:
    AppearanceNode(View content, std::function<void()> onAppear, std::function<void()> onDisappear)
        : ModifierNode(std::move(content)),
          onAppear_(std::move(onAppear)),
          onDisappear_(std::move(onDisappear)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeContent(frame, environment, parent);
        if (!environment.services) return;
        const std::string key = environment.key(onAppear_ ? "#appear" : "#disappear");
        if (onAppear_) environment.services->appeared(key, onAppear_);
        if (onDisappear_) environment.services->willDisappear(key, onDisappear_);
    }

  private:
    std::function<void()> onAppear_;
    std::function<void()> onDisappear_;
};

class PreferenceNode final : public ModifierNode {
  public:
    PreferenceNode(View content, PreferenceKeyOps key, std::any value)
        : ModifierNode(std::move(content)), key_(std::move(key)), value_(std::move(value)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeContent(frame, environment, parent);
        if (environment.services) environment.services->report(key_, value_);
    }

  private:
    PreferenceKeyOps key_;
    std::any value_;
};

/// Gathers a preference from the content and calls back, once the pass is over, when the
/// gathered value differs from the last one it called back with.
class PreferenceReaderNode final : public ModifierNode {
  public:
    PreferenceReaderNode(View content, PreferenceKeyOps key,
                         std::function<void(const std::any&)> action)
        : ModifierNode(std::move(content)), key_(std::move(key)), action_(std::move(action)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutServices* services = environment.services;
        if (!services || services->inTrial()) {
            placeContent(frame, environment, parent);
            return;
        }
        LayoutServices::Collection collection{key_, key_.defaultValue()};
        services->openCollection(collection);
        placeContent(frame, environment, parent);
        services->closeCollection();
        const std::string storeKey = environment.key("#preference:") + key_.key.name();
        const bool seen = services->has(storeKey);
        std::any& last = services->stored(storeKey, collection.value);
        if (!seen || !key_.equal(last, collection.value)) {
            last = collection.value;
            services->afterLayout([action = action_, value = collection.value] { action(value); });
        }
    }

  private:
    PreferenceKeyOps key_;
    std::function<void(const std::any&)> action_;
};

class GeometryReaderNode final : public ViewNode {
  public:
    static constexpr CGFloat idealLength = 10;

    explicit GeometryReaderNode(std::function<View(const GeometryProxy&)> content)
        : content_(std::move(content)) {
        sizeAtOnce();
    }

    CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return {proposal.width.value_or(idealLength), proposal.height.value_or(idealLength)};
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        LayoutNode& node = wrapNode(parent, NodeKind::geometryReader, frame, environment);
        EnvironmentValues inner = environment.child(std::size_t{0});
        inner.stackAxis.reset();
        const View content = content_(GeometryProxy{frame.size, frame});
        const CGSize size = measure(content, ProposedViewSize::of(frame.size), inner);
        placeView(content, CGRect(frame.origin, size), inner, node);
    }

  private:
    std::function<View(const GeometryProxy&)> content_;
};

class EnvironmentReaderNode final : public BuildingNode {
  public:
    explicit EnvironmentReaderNode(std::function<View(const EnvironmentValues&)> content)
        : content_(std::move(content)) {}

  protected:
    View build(const EnvironmentValues& environment) const override {
        return content_(environment);
    }

  private:
    std::function<View(const EnvironmentValues&)> content_;
};

View decorated(const View& view, DecoratingNode::Decoration decoration) {
    return View(std::make_shared<DecoratingNode>(view, std::move(decoration)));
}

}  // namespace

View View::transformEnvironment(std::function<void(EnvironmentValues&)> transform) const {
    return View(std::make_shared<EnvironmentNode>(*this, std::move(transform)));
}

View View::font(const Font& font) const {
    return transformEnvironment(
        [font](EnvironmentValues& environment) { environment.font = font; });
}

View View::foregroundColor(const Color& color) const {
    return transformEnvironment(
        [color](EnvironmentValues& environment) { environment.foregroundColor = color; });
}

View View::tint(const Color& color) const {
    return transformEnvironment(
        [color](EnvironmentValues& environment) { environment.tint = color; });
}

View View::lineLimit(std::optional<int> limit) const {
    if (limit && *limit < 1) limit = 1;
    return transformEnvironment(
        [limit](EnvironmentValues& environment) { environment.lineLimit = limit; });
}

View View::multilineTextAlignment(TextAlignment alignment) const {
    return transformEnvironment([alignment](EnvironmentValues& environment) {
        environment.multilineTextAlignment = alignment;
    });
}

View View::disabled(bool disabled) const {
    return transformEnvironment([disabled](EnvironmentValues& environment) {
        environment.isEnabled = environment.isEnabled && !disabled;
    });
}

View View::id(const std::string& identity) const {
    return View(std::make_shared<IdentityNode>(*this, identity));
}

View View::help(const std::string& tooltip) const {
    return decorated(
        *this, [tooltip](LayoutNode& node, const EnvironmentValues&) { node.tooltip = tooltip; });
}

View View::accessibilityHidden(bool hidden) const {
    return decorated(*this, [hidden](LayoutNode& node, const EnvironmentValues&) {
        node.accessibilityHidden = hidden;
    });
}

View View::accessibilityLabel(const std::string& label) const {
    return decorated(*this, [label](LayoutNode& node, const EnvironmentValues&) {
        if (!node.element)
            node.element = AccessibilityElement{node.kind == NodeKind::image ? "image" : "group"};
        node.element->label = label;
    });
}

View View::accessibilityIdentifier(const std::string& identifier) const {
    return decorated(*this, [identifier](LayoutNode& node, const EnvironmentValues&) {
        node.identifier = identifier;
    });
}

View View::onTapGesture(std::function<void()> action) const {
    return decorated(*this, [action](LayoutNode& node, const EnvironmentValues&) {
        node.onClick = [action](CGPoint) {
            if (action) action();
        };
    });
}

View View::onHover(std::function<void(bool)> action) const {
    return decorated(
        *this, [action](LayoutNode& node, const EnvironmentValues&) { node.onHover = action; });
}

View View::allowsHitTesting(bool enabled) const {
    return decorated(*this, [enabled](LayoutNode& node, const EnvironmentValues&) {
        node.hitTesting = node.hitTesting && enabled;
    });
}

View View::contentShape(const Shape&) const {
    return decorated(
        *this, [](LayoutNode& node, const EnvironmentValues&) { node.contentShape = node.frame; });
}

View View::keyboardShortcut(const KeyboardShortcut& shortcut) const {
    return decorated(*this, [shortcut](LayoutNode& node, const EnvironmentValues&) {
        node.shortcut = shortcut;
    });
}

View View::zIndex(double value) const {
    const double z = std::isfinite(value) ? value : 0;
    return decorated(*this, [z](LayoutNode& node, const EnvironmentValues&) { node.zIndex = z; });
}

View View::onAppear(std::function<void()> action) const {
    return View(std::make_shared<AppearanceNode>(*this, std::move(action), nullptr));
}

View View::onDisappear(std::function<void()> action) const {
    return View(std::make_shared<AppearanceNode>(*this, nullptr, std::move(action)));
}

View View::onChangeErased(std::any value,
                          std::function<bool(const std::any&, const std::any&)> equal,
                          std::function<void(const std::any&)> action) const {
    return View(
        std::make_shared<ChangeNode>(*this, std::move(value), std::move(equal), std::move(action)));
}

View View::preferenceErased(PreferenceKeyOps key, std::any value) const {
    return View(std::make_shared<PreferenceNode>(*this, std::move(key), std::move(value)));
}

View View::onPreferenceChangeErased(PreferenceKeyOps key,
                                    std::function<void(const std::any&)> action) const {
    return View(std::make_shared<PreferenceReaderNode>(*this, std::move(key), std::move(action)));
}

View GeometryReader(std::function<View(const GeometryProxy&)> content) {
    return View(std::make_shared<GeometryReaderNode>(std::move(content)));
}

View EnvironmentReader(std::function<View(const EnvironmentValues&)> content) {
    return View(std::make_shared<EnvironmentReaderNode>(std::move(content)));
}

}  // namespace SwiftUI
