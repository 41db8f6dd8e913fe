#include "KelvoAX/Classification/ActivationSweepRecord.h"

namespace kelvo {

bool ActivationSweepRecord::refuses(const std::string& bundleID,
                                    const std::set<WindowID>& seeing) const {
    const auto found = seen.find(bundleID);
    return found != seen.end() && found->second == seeing;
}

void ActivationSweepRecord::record(const std::string& bundleID, const std::set<WindowID>& saw) {
    seen.insert_or_assign(bundleID, saw);
}

void ActivationSweepRecord::forget(const std::string& bundleID) {
    seen.erase(bundleID);
}

}  // namespace kelvo
