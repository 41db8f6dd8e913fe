#include "KelvoCore/Store/VisibilityFinding.h"

namespace kelvo {

std::string VisibilityFinding::line() const {
    return "invisible window " + std::to_string(id.raw) + " (" + bundleID + ") on desktop " +
           std::to_string(desktop) + ": " + explanation(reason) + " — " + explanation(repair);
}

}  // namespace kelvo
