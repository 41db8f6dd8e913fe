#pragma once

#include "Platform/Accessibility/AXUIElement.h"

namespace kelvo {

/// A window's Accessibility element as events carry it. Two are equal when the platform says
/// they stand for one element, however many handles to it exist.
struct WindowElement {
    AXUIElementRef element;

    bool operator==(const WindowElement& other) const;
};

}  // namespace kelvo
