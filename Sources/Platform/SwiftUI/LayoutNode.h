#pragma once

#include <functional>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGContext.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/Font.h"
#include "Platform/SwiftUI/NodeKind.h"

class NSView;

namespace SwiftUI {

struct LayoutNode;

/// Where a laid-out tree is drawn: a context whose user space runs top-down in the root's
/// coordinates, and the part of it that can be seen (nodes wholly outside are skipped).
struct PaintTarget {
    CGContext& context;
    CGRect visible;
};

/// How a laid-out node draws itself (and its children).
class LayoutPaint {
  public:
    virtual ~LayoutPaint() = default;
    virtual void paint(const LayoutNode& node, const PaintTarget& target) const;
};

/// What a node shows to assistive technology and to `kelvo-sim ui`: its role ("button",
/// "switch", "slider", …), label and value.
struct AccessibilityElement {
    std::string role = {};
    std::string label = {};
    std::optional<std::string> value = std::nullopt;
    bool operator==(const AccessibilityElement&) const = default;
};

/// A key and modifiers that press a button; "\r" is the default action (Return).
struct KeyboardShortcut {
    std::string key = {};
    bool command = false;
    bool shift = false;
    bool option = false;
    bool control = false;
    bool operator==(const KeyboardShortcut&) const = default;

    static KeyboardShortcut defaultAction() { return {"\r"}; }
    static KeyboardShortcut commandKey(std::string key) { return {std::move(key), true}; }
};

/// One view as it was laid out: what it is, where (in the root's top-down coordinates), what
/// it shows and how it answers the pointer. Tests walk this tree instead of pixels; the
/// graph draws and hit-tests it.
struct LayoutNode {
    /// A node's children come from the memory its parent's come from (a graph lays its trees
    /// out in memory of its own, which the next tree takes over).
    using allocator_type = std::pmr::polymorphic_allocator<LayoutNode>;

    LayoutNode() = default;
    explicit LayoutNode(const allocator_type& allocator) : children(allocator) {}
    LayoutNode(const LayoutNode&) = default;
    LayoutNode(const LayoutNode& other, const allocator_type& allocator) : children(allocator) {
        *this = other;
    }
    LayoutNode(LayoutNode&&) = default;
    LayoutNode(LayoutNode&& other, const allocator_type& allocator) : children(allocator) {
        *this = std::move(other);
    }
    LayoutNode& operator=(const LayoutNode&) = default;
    LayoutNode& operator=(LayoutNode&&) = default;

    /// What made the node; one placed for nothing at all is empty.
    NodeKind kind = NodeKind::empty;
    CGRect frame;
    /// The characters a text shows, as laid out ("…" where it was cut).
    std::string text = {};
    std::optional<Font> font = std::nullopt;
    /// The colour it draws in (text, fill or stroke).
    std::optional<Color> color = std::nullopt;
    /// The product of its own and its ancestors' opacity.
    double opacity = 1;
    bool enabled = true;
    /// The explicit identity (`id`), for scroll targets.
    std::string identifier = {};
    std::string tooltip = {};
    std::optional<AccessibilityElement> element = std::nullopt;
    bool accessibilityHidden = false;
    /// A text field that takes the keys.
    bool focused = false;
    /// Typed text and editing keys go here while the node is focused.
    std::function<void(const std::string&)> onText = nullptr;
    double zIndex = 0;
    bool hitTesting = true;
    /// Points outside the frame reach none of the children (scroll views, clipped views).
    bool clipsChildren = false;
    /// The area that takes clicks, when it is not the frame.
    std::optional<CGRect> contentShape = std::nullopt;
    std::function<void(CGPoint)> onClick = nullptr;
    /// While the press that reached the node lasts, where the pointer goes (a slider's knob
    /// follows it).
    std::function<void(CGPoint)> onDrag = nullptr;
    std::function<void(bool)> onHover = nullptr;
    /// A scroll view's: the wheel turned over it, so many points (negative: on towards the
    /// end of its content).
    std::function<void(CGFloat)> onScroll = nullptr;
    std::optional<KeyboardShortcut> shortcut = std::nullopt;
    std::shared_ptr<const LayoutPaint> paint;
    /// An AppKit view shown at the node's frame (a representable's), which draws and takes
    /// events by itself.
    std::shared_ptr<NSView> hostedView;
    std::pmr::vector<LayoutNode> children;

    LayoutNode& add(LayoutNode child);
    /// A new empty child, made in place.
    LayoutNode& add();

    /// Depth first, this node included.
    const LayoutNode* find(const std::function<bool(const LayoutNode&)>& match) const;
    std::vector<const LayoutNode*> findAll(
        const std::function<bool(const LayoutNode&)>& match) const;
    const LayoutNode* findKind(NodeKind kind) const;
    const LayoutNode* findText(const std::string& text) const;
    const LayoutNode* findIdentifier(const std::string& identifier) const;
    const LayoutNode* findRole(const std::string& role) const;
    /// Children in the order they are drawn: by z-index, then as given.
    std::vector<const LayoutNode*> drawingOrder() const;
    /// One line per node, indented by depth: kind, frame and text, for test failures.
    std::string describe(int depth = 0) const;
};

/// The area the node and its children may draw in: their frames and a margin around them
/// for strokes and shadows.
CGRect drawnReach(const LayoutNode& node);
bool isFinite(const CGRect& rect);

/// Draws the node with its painter (its children, when it has none), unless it lies wholly
/// outside what can be seen.
void paintNode(const LayoutNode& node, const PaintTarget& target);
void paintChildren(const LayoutNode& node, const PaintTarget& target);

/// The front-most node at `point` that takes clicks, or none.
const LayoutNode* hitTest(const LayoutNode& root, CGPoint point);
/// The innermost scroll view at `point` that is not clipped away there, or none.
const LayoutNode* scrollTest(const LayoutNode& root, CGPoint point);

}  // namespace SwiftUI
