#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "KelvoApp/Views/CheatsheetModel.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/AppKit/NSVisualEffectView.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/NSHostingView.h"

namespace kelvo {

/// The cheat sheet: a large dark floating panel listing every shortcut of the current
/// configuration. Toggled by its shortcut and the status menu; it never takes the keyboard
/// from the application in front, so toggling again closes it, and so does Escape, which the
/// key tap hears for it. Main thread only.
class CheatsheetPanelController {
  public:
    using Sections = std::function<std::vector<KeyReference::Section>()>;

    static constexpr double width = 980;
    static constexpr double height = 620;
    /// Kept free around the panel inside the screen's visible frame.
    static constexpr double screenMargin = 80;
    static constexpr NSWindowLevel level = NSModalPanelWindowLevel;
    static constexpr NSWindowCollectionBehavior collectionBehavior =
        NSWindowCollectionBehaviorCanJoinAllSpaces | NSWindowCollectionBehaviorIgnoresCycle |
        NSWindowCollectionBehaviorFullScreenAuxiliary;
    static constexpr double cornerRadius = 16;
    static constexpr double borderWidth = 1;
    static constexpr double borderOpacity = 0.1;

    /// Builds the panel, not shown; `sections` gives the key reference at every opening.
    explicit CheatsheetPanelController(Sections sections);
    ~CheatsheetPanelController();
    CheatsheetPanelController(const CheatsheetPanelController&) = delete;
    CheatsheetPanelController& operator=(const CheatsheetPanelController&) = delete;

    /// Hides a shown sheet; otherwise fetches the sections afresh and shows the sheet on the
    /// screen under the pointer, without activating the application or taking the keys.
    void toggle();
    /// Hides the sheet when it is shown.
    void putAway();
    bool isShown() const { return panel.isVisible(); }

    NSPanel panel;
    CheatsheetModel model;
    /// The rounded, outlined content view.
    std::shared_ptr<NSVisualEffectView> backdrop;
    std::shared_ptr<SwiftUI::NSHostingView> hosting;

  private:
    void reposition();

    Sections sections_;
};

}  // namespace kelvo
