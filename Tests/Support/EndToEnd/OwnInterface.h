#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "Support/Simulator/DesktopProcess.h"

namespace kelvo::testing {

/// One element of a process's visible windows, as `kelvo-sim ui` lists it.
struct InterfaceElement {
    std::uint32_t window = 0;
    std::string role;
    std::string label;
    std::optional<std::string> value;
    std::optional<std::string> identifier;
    std::optional<std::string> toolTip;
    CGRect frame;
    bool enabled = true;
    bool focused = false;
};

/// The interface one process shows on the desktop (its status item, its menus, the elements of
/// its windows), read and driven through kelvo-sim as a person would: clicks where an element
/// stands, picks in the open menu. Every wait polls with the generous bound.
class OwnInterface {
  public:
    OwnInterface(DesktopProcess& desktop, pid_t pid) : desktop_(desktop), pid_(pid) {}

    /// The elements of the process's visible windows now, front to back, in reading order.
    std::vector<InterfaceElement> elements();
    /// Waits until an element meets `matches`; the first one that does.
    std::optional<InterfaceElement> await(
        const std::function<bool(const InterfaceElement&)>& matches);
    /// Waits for the element with that identifier.
    std::optional<InterfaceElement> awaitIdentifier(const std::string& identifier);
    /// Waits for an element with that label (and role, when one is given); a text that wraps
    /// matches without its line breaks.
    std::optional<InterfaceElement> awaitLabel(const std::string& label,
                                               const std::string& role = "");

    /// Clicks a point of the screen (top-left coordinates); false when the verb failed.
    bool click(CGPoint point);
    /// Clicks the middle of an element.
    bool click(const InterfaceElement& element) {
        return click({element.frame.midX(), element.frame.midY()});
    }
    /// Waits for the button of that title and clicks its middle.
    bool press(const std::string& title);

    /// The frame of the process's status item, once it stands in the menu bar.
    std::optional<CGRect> statusItem();
    /// Right-clicks the status item and waits until its menu is open.
    bool openStatusMenu();
    /// Opens the status menu and picks the item of that title.
    bool pickFromStatusMenu(const std::string& title);
    /// The titles of the open menu, top to bottom (separators give empty titles).
    std::vector<std::string> menuTitles();

  private:
    DesktopProcess& desktop_;
    pid_t pid_;
};

}  // namespace kelvo::testing
