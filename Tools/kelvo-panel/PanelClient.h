#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Base/Foundation/NSObject.h"
#include "Base/JSON/JSONValue.h"
#include "Platform/AppKit/NSMenu.h"
#include "Platform/AppKit/NSStatusBar.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/NSWindow.h"

namespace kelvo_panel {

class KeyPanel;

/// What the client shows: a non-activating panel that takes keys (640 × 400, a text field in
/// it), a titled window with a close button, and a status item whose menu opens on a right or
/// Control click. Everything it is told is reported as one JSON object per line: the actions
/// of the menu, keys, cancel operations, the window closing, the monitored key-downs.
class PanelClient : public NSObject, private NSMenuDelegate, private NSWindowDelegate {
  public:
    using Report = std::function<void(const kelvo::JSONValue&)>;

    static constexpr double panelWidth = 640;
    static constexpr double panelHeight = 400;

    explicit PanelClient(Report report);
    ~PanelClient() override;

    /// Shows the window, then the panel as the key window with its field first responder, and
    /// reports "ready" with their numbers.
    void start();
    bool performAction(const std::string& selector, const void* sender) override;

  private:
    void menuNeedsUpdate(NSMenu& menu) override;
    void menuDidClose(NSMenu& menu) override;
    void windowWillClose(NSWindow& window) override;
    void windowDidResignKey(NSWindow& window) override;
    void clicked();
    void buildMenu();

    Report report_;
    std::unique_ptr<KeyPanel> panel_;
    std::shared_ptr<NSTextField> field_;
    std::unique_ptr<NSWindow> window_;
    NSStatusItemRef item_;
    NSMenuRef menu_;
    std::shared_ptr<void> monitor_;
    int counted_ = 0;
};

}  // namespace kelvo_panel
