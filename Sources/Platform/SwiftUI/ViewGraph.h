#pragma once

#include <functional>
#include <memory>
#include <memory_resource>
#include <optional>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Platform/SwiftUI/LayoutNode.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ObservableObject.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// The live form of a view tree: it evaluates the body, lays it out at a size, draws it,
/// hit-tests clicks and keys, and keeps what outlives one evaluation. A change of an observed
/// object (or of a view's state) evaluates the body again once, on the next turn of the main
/// loop, however many values changed; `onUpdate` then tells the host to show the new tree.
class ViewGraph {
  public:
    /// Frames of an animation or a scroll follow each other this far apart, in seconds.
    static constexpr double frameInterval = 1.0 / 60;

    explicit ViewGraph(std::function<View()> body);
    ~ViewGraph();
    ViewGraph(const ViewGraph&) = delete;
    ViewGraph& operator=(const ViewGraph&) = delete;

    /// Evaluates the body again after every change of `object`, while both live.
    void observe(ObservableObject& object);
    /// Lays the views out at `size` (evaluating the body when it is due) and answers the tree,
    /// whose frames are in top-down coordinates with the origin at the top left of `size`.
    const LayoutNode& layout(CGSize size);
    /// The size the views choose for a proposal (their ideal size for none).
    CGSize fittingSize(const ProposedViewSize& proposal = {});
    const LayoutNode& tree() const { return tree_; }
    CGSize size() const { return size_; }

    /// Draws the last layout into a context whose base space runs upwards from the bottom
    /// left (a bitmap or recording context of `size()`).
    void draw(CGContext& context) const;
    /// A click at a point of the layout: the front-most enabled view that takes clicks gets
    /// it. False when none took it.
    bool click(CGPoint point);
    /// The pointer moved with the button still held since a click: the view that took the
    /// click and follows drags hears where. False when none follows.
    bool drag(CGPoint point);
    /// The button came up there: the last drag; false when no view follows the press.
    bool release(CGPoint point);
    /// The pointer moved to `point` (none: it left): views that listen hear when it enters
    /// and leaves them.
    void hover(std::optional<CGPoint> point);
    /// The scroll wheel turned over `point`: the innermost scroll view there moves its content
    /// `deltaY` points (negative: on towards its end), as far as the content goes. False when
    /// no scroll view is there.
    bool scroll(CGPoint point, CGFloat deltaY);
    /// Presses the enabled button bound to that shortcut, if any.
    bool press(const KeyboardShortcut& shortcut);
    /// Typed text (or "\b" to take a character back) for the focused text field; false when
    /// no field has the keys.
    bool type(const std::string& text);

    /// Evaluates again on the next turn (already scheduled: nothing more).
    void setNeedsUpdate();
    /// Does a scheduled evaluation now rather than on its turn; nothing when none is scheduled.
    void updateIfNeeded();
    /// Runs after each scheduled update has laid the views out anew.
    std::function<void()> onUpdate;
    /// The size a scheduled update lays the views out at: the host's size now, which may have
    /// changed since the last layout; the last layout's size when unset.
    std::function<CGSize()> updateSize;
    LayoutServices& services() { return services_; }
    /// How many times the body has been evaluated.
    int evaluationCount() const { return evaluations_; }

  private:
    void update();
    void scheduleFrame();
    View& body();

    std::function<View()> makeBody_;
    std::optional<View> body_;
    LayoutServices services_;
    std::vector<ObservableObject::Subscription> subscriptions_;
    /// Where the laid-out trees live: what one tree leaves, the next one takes.
    std::pmr::unsynchronized_pool_resource treeMemory_;
    LayoutNode tree_{LayoutNode::allocator_type(&treeMemory_)};
    CGSize size_;
    bool updateScheduled_ = false;
    bool frameScheduled_ = false;
    int evaluations_ = 0;
    std::vector<CGRect> hovered_;
    /// The drags of the press in progress go here.
    std::function<void(CGPoint)> dragging_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace SwiftUI
