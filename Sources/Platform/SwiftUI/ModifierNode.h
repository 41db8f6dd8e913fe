#pragma once

#include "Platform/SwiftUI/View.h"
#include "Platform/SwiftUI/ViewNode.h"

namespace SwiftUI {

/// A view that wraps one other: by default it sizes, places and aligns as its content does.
class ModifierNode : public ViewNode {
  public:
    /// A modifier that changes the environment its content sees says so with
    /// `adjustsEnvironment`; the others hand their own on without copying it.
    explicit ModifierNode(View content, bool adjustsEnvironment = false)
        : content_(std::move(content)), adjustsEnvironment_(adjustsEnvironment) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (!adjustsEnvironment_) return measure(content_, proposal, environment);
        return measure(content_, proposal, inner(environment));
    }
    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        if (!adjustsEnvironment_) return placeView(content_, frame, environment, parent);
        placeView(content_, frame, inner(environment), parent);
    }
    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        if (!adjustsEnvironment_) return baselineOf(content_, size, environment);
        return baselineOf(content_, size, inner(environment));
    }
    std::optional<CGFloat> spacerMinLength(LayoutAxis axis) const override {
        return content_.node().spacerMinLength(axis);
    }
    bool isEmpty() const override { return content_.isEmpty(); }

  protected:
    /// The environment the content sees (asked only of modifiers that adjust it).
    virtual EnvironmentValues inner(const EnvironmentValues& environment) const {
        return environment;
    }
    /// Places the content and hands back its node (a content that adds none gets an empty
    /// group node, so that there is always one to decorate).
    LayoutNode& placeContent(const CGRect& frame, const EnvironmentValues& environment,
                             LayoutNode& parent) const;

    View content_;

  private:
    bool adjustsEnvironment_;
};

/// Places the content, then changes the node it made.
class DecoratingNode final : public ModifierNode {
  public:
    using Decoration = std::function<void(LayoutNode&, const EnvironmentValues&)>;
    DecoratingNode(View content, Decoration decoration)
        : ModifierNode(std::move(content)), decoration_(std::move(decoration)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        decoration_(placeContent(frame, environment, parent), environment);
    }

  private:
    Decoration decoration_;
};

/// A view whose content is built where it is laid out (from the environment, the state kept
/// there, a reader's proxy).
class BuildingNode : public ViewNode {
  public:
    /// A builder that changes the environment its content sees says so with
    /// `adjustsEnvironment`; the others hand their own on without copying it.
    explicit BuildingNode(bool adjustsEnvironment = false)
        : adjustsEnvironment_(adjustsEnvironment) {}

    CGSize sizeThatFits(const ProposedViewSize& proposal,
                        const EnvironmentValues& environment) const override {
        if (!adjustsEnvironment_) return measure(build(environment), proposal, environment);
        return measure(build(environment), proposal, inner(environment));
    }
    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        if (!adjustsEnvironment_) return placeView(build(environment), frame, environment, parent);
        placeView(build(environment), frame, inner(environment), parent);
    }
    std::optional<CGFloat> firstBaseline(CGSize size,
                                         const EnvironmentValues& environment) const override {
        if (!adjustsEnvironment_) return baselineOf(build(environment), size, environment);
        return baselineOf(build(environment), size, inner(environment));
    }

  protected:
    virtual View build(const EnvironmentValues& environment) const = 0;
    /// The environment the content sees (asked only of builders that adjust it).
    virtual EnvironmentValues inner(const EnvironmentValues& environment) const {
        return environment;
    }

  private:
    bool adjustsEnvironment_;
};

/// Wraps the content's node in a node of its own kind, drawn by `paint`.
LayoutNode& wrapNode(LayoutNode& parent, NodeKind kind, const CGRect& frame,
                     const EnvironmentValues& environment);

}  // namespace SwiftUI
