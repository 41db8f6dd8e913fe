#include "KelvoApp/Services/AppDisplayNames.h"

namespace kelvo {

std::string AppDisplayNames::name(const std::string& bundleID) {
    return bundleID;
}

}  // namespace kelvo
