#pragma once

#include <optional>
#include <vector>

#include "Platform/SwiftUI/EnvironmentValues.h"
#include "Platform/SwiftUI/LayoutAnswers.h"
#include "Platform/SwiftUI/LayoutGeometry.h"
#include "Platform/SwiftUI/LayoutNode.h"

namespace SwiftUI {

class View;

/// One kind of view in the tree: how it chooses its size for a proposal, how it places itself
/// (and its children) in the frame its parent gives it, and what it reports to the stacks
/// around it. Nodes are immutable and shared between copies of a view.
class ViewNode {
  public:
    virtual ~ViewNode() = default;

    /// The size the view chooses for a proposal (already sanitized by the caller).
    virtual CGSize sizeThatFits(const ProposedViewSize& proposal,
                                const EnvironmentValues& environment) const = 0;
    /// Appends the view's laid-out node(s) to `parent`, filling `frame`.
    virtual void place(const CGRect& frame, const EnvironmentValues& environment,
                       LayoutNode& parent) const = 0;
    /// From the top of the view, at that size, to its first text baseline; none when it holds
    /// no text.
    virtual std::optional<CGFloat> firstBaseline(CGSize size,
                                                 const EnvironmentValues& environment) const;
    /// A spacer's minimum length in a stack along `axis`; none for any other view.
    virtual std::optional<CGFloat> spacerMinLength(LayoutAxis axis) const;
    /// The views a list (ForEach, Group) spreads into its container; none for a single view.
    virtual const std::vector<View>* listChildren() const { return nullptr; }
    /// A view that shows nothing and takes no room or spacing in a stack.
    virtual bool isEmpty() const { return false; }

  protected:
    /// For a node changed before it is shared: what it answered no longer holds.
    void forgetAnswers() const { answers_ = {}; }
    /// For a view that chooses its size and finds its baseline exactly as `view` does, for the
    /// same proposal in the same environment: its questions go straight to `view`.
    void answerAs(const View& view) { answersAs_ = &view; }
    /// For a view whose size costs less to work out than to look up: it is not remembered.
    void sizeAtOnce() { sizesAtOnce_ = true; }

  private:
    friend CGSize measure(const View&, const ProposedViewSize&, const EnvironmentValues&);
    friend std::optional<CGFloat> baselineOf(const View&, CGSize, const EnvironmentValues&);

    /// Where the graph laying the view out keeps what it answered in this pass.
    mutable LayoutAnswers::Ticket answers_;
    const View* answersAs_ = nullptr;
    bool sizesAtOnce_ = false;
    /// The node that answers for `view`'s.
    static const ViewNode& answering(const View& view);
};

/// Answers with the sanitized size: a proposal cleaned of NaN and negative lengths goes in,
/// a size without NaN or negative lengths comes out.
CGSize measure(const View& view, const ProposedViewSize& proposal,
               const EnvironmentValues& environment);
void placeView(const View& view, const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent);
std::optional<CGFloat> baselineOf(const View& view, CGSize size,
                                  const EnvironmentValues& environment);

/// The views a container holds, with lists spread and empty views left out.
std::vector<View> flattened(const std::vector<View>& views);
/// The same, taking the views over when none needs spreading or leaving out.
std::vector<View> flattened(std::vector<View>&& views);

}  // namespace SwiftUI
