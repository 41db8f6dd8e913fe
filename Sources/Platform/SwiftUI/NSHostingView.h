#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSView.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace SwiftUI {

/// How a hosting view would size its window; the system's windows give their own sizes, so
/// the options are kept for whoever reads them and nothing is resized by them.
enum class NSHostingSizingOptions : std::uint8_t {
    none = 0,
    minSize = 1 << 0,
    intrinsicContentSize = 1 << 1,
    maxSize = 1 << 2,
};

/// A view of a window that shows a tree of views: it lays the tree out at its own size (the
/// window's content size when it is the content view), draws it through the drawing layer,
/// hands a click to the view that takes it, gives the keys to the field that has the focus,
/// pops up the menus and colour panel the views ask for, and publishes each view's element.
/// After a published change of what it observes, the tree is evaluated, laid out and drawn
/// again once, on the next turn of the main loop.
class NSHostingView : public NSView {
  public:
    explicit NSHostingView(std::function<View()> rootView, CGRect frame = {});
    ~NSHostingView() override;

    /// Evaluates the tree again after every change of `object`, while both live.
    void observe(ObservableObject& object) { graph_->observe(object); }
    ViewGraph& graph() { return *graph_; }
    /// The tree as laid out at the view's size now.
    const LayoutNode& layoutTree();
    /// The size the tree chooses when nothing is proposed.
    CGSize fittingSize();
    NSHostingSizingOptions sizingOptions() const { return sizingOptions_; }
    void setSizingOptions(NSHostingSizingOptions options) { sizingOptions_ = options; }

    bool isFlipped() const override { return true; }
    /// While one of its fields has the focus.
    bool acceptsFirstResponder() const override;
    bool resignFirstResponder() override;
    void drawRect(const CGRect& dirtyRect) override;
    /// A change published this turn is laid out into the picture about to be drawn.
    void viewWillDraw() override;
    void mouseDown(NSEvent& event) override;
    /// The press goes on: the control that took it (a slider) follows the pointer.
    void mouseDragged(NSEvent& event) override;
    void mouseUp(NSEvent& event) override;
    /// Views that listen hear the pointer enter and leave them.
    void mouseMoved(NSEvent& event) override;
    void scrollWheel(NSEvent& event) override;
    void mouseExited(NSEvent& event) override;
    void keyDown(NSEvent& event) override;
    bool performKeyEquivalent(NSEvent& event) override;
    void collectAccessibilityElements(double windowHeight,
                                      std::vector<sim::InterfaceElement>& out) const override;
    /// The pick of a menu it popped up.
    bool performAction(const std::string& selector, const void* sender) override;

    /// The action of the menus' items.
    static constexpr const char* menuPickAction = "pickMenuEntry:";
    static constexpr std::uint16_t returnKeyCode = 36;
    static constexpr std::uint16_t deleteKeyCode = 51;

  private:
    void layOutIfNeeded();
    void showHostedViews();
    void treeChanged();
    void claimKeysIfFocused();
    void presentMenu(const std::vector<MenuEntry>& entries, CGRect anchor,
                     std::function<void(std::size_t)> chosen);
    void presentColorPanel(const Color& current, std::function<void(const Color&)> picked);
    void collectNode(const LayoutNode& node, double windowHeight,
                     std::vector<sim::InterfaceElement>& out) const;

    std::unique_ptr<ViewGraph> graph_;
    bool needsLayout_ = true;
    NSHostingSizingOptions sizingOptions_ = NSHostingSizingOptions::none;
    /// The AppKit views the tree holds, shown as subviews.
    std::vector<NSViewRef> hosted_;
    NSMenuRef menu_;
    std::function<void(std::size_t)> menuChosen_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace SwiftUI
