#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/CGGeometry.h"
#include "KelvoCore/Geometry/WindowID.h"
#include "Platform/Accessibility/AXUIElement.h"

namespace kelvo {

/// The three readers every Accessibility read goes through, and the window number of an element.
/// A failed read never fails the caller: it gives none or false.
struct AXAttributes {
    /// "AXPosition" and "AXSize", asked in one message; none when either fails.
    static std::optional<CGRect> frame(const AXUIElementRef& element);
    /// What a window's classification reads of it, asked in one message: the frame as `frame`
    /// gives it, and the other attributes as `text` and `optionalBoolean` give them.
    struct Traits {
        std::optional<CGRect> frame;
        std::optional<std::string> subrole;
        std::optional<bool> fullScreen;
        std::optional<bool> minimized;
    };
    static Traits traits(const AXUIElementRef& element);
    /// None on failure or when the value is no text.
    static std::optional<std::string> text(const AXUIElementRef& element,
                                           const std::string& attribute);
    /// False on failure or when the value is no boolean.
    static bool boolean(const AXUIElementRef& element, const std::string& attribute);
    /// None on failure or when the value is no boolean.
    static std::optional<bool> optionalBoolean(const AXUIElementRef& element,
                                               const std::string& attribute);
    /// A failed question counts as not settable.
    static bool isSettable(const AXUIElementRef& element, const std::string& attribute);
    static void write(const AXUIElementRef& element, const std::string& attribute, bool value);
    static void write(const AXUIElementRef& element, const std::string& attribute, CGPoint value);
    static void write(const AXUIElementRef& element, const std::string& attribute, CGSize value);
};

/// The window server's number of a window element; none when it cannot be read or is 0.
std::optional<WindowID> windowID(const AXUIElementRef& element);

}  // namespace kelvo
