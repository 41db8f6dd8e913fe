#include "KelvoCore/Store/ExpectedFocus.h"

namespace kelvo {

std::string ExpectedFocus::description() const {
    return bundleID.value_or("-") + "/" + (window ? std::to_string(window->raw) : "-");
}

}  // namespace kelvo
