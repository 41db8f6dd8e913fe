#include "KelvoAX/Events/WindowElement.h"

namespace kelvo {

bool WindowElement::operator==(const WindowElement& other) const {
    return CFEqual(element, other.element);
}

}  // namespace kelvo
