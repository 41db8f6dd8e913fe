#include "KelvoCore/Config/NothingChanged.h"

namespace kelvo {

std::string NothingChanged::after(std::string_view text) {
    if (text.ends_with('.')) text.remove_suffix(1);
    std::string closed(text);
    closed += ". ";
    closed += sentence;
    return closed;
}

}  // namespace kelvo
