#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "KelvoCore/Launcher/LauncherModel.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSWindow.h"

namespace kelvo {

/// The launcher's floating panel and its key routing. It is non-activating, so it takes keys
/// while another application stays in front; keys its field editor does not take, the
/// movement chords and the editing chords of an application without an Edit menu are handled
/// here.
class LauncherPanel : public NSPanel {
  public:
    using NSPanel::NSPanel;

    /// Moves the selection by the delta.
    std::function<void(int)> onControlMove;
    std::function<void()> onCancel;
    /// Offers a key; true when it was consumed.
    std::function<bool(const LauncherModel::Key&)> onKey;

    bool canBecomeKeyWindow() const override { return true; }
    bool canBecomeMainWindow() const override { return false; }

    void keyDown(NSEvent& event) override;
    bool performKeyEquivalent(NSEvent& event) override;
    void cancelOperation(const void* sender) override;

    /// The launcher key an event stands for; none for a key that types nothing.
    static std::optional<LauncherModel::Key> key(const NSEvent& event);

  private:
    /// The editing chords of the field editor (⌘A, ⌘X, ⌘C, ⌘V, ⌘Z, ⌘⇧Z).
    bool edit(const std::string& key, bool shift);
    bool moveSelection(int delta);
};

}  // namespace kelvo
