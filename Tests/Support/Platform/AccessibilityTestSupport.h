#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Platform/Accessibility/AXValue.h"

namespace kelvo {

/// The application's "AXWindows", or none when the read fails.
std::optional<std::vector<AXUIElementRef>> windowsOf(const AXUIElementRef& application);
/// The element of the window with that number among the application's "AXWindows".
AXUIElementRef windowElement(pid_t pid, CGWindowID number);
std::optional<CGRect> frameOf(const AXUIElementRef& window);
AXError writePosition(const AXUIElementRef& window, CGPoint position);
AXError writeSize(const AXUIElementRef& window, CGSize size);
std::optional<std::string> textOf(const AXUIElementRef& element, const std::string& attribute);

}  // namespace kelvo
