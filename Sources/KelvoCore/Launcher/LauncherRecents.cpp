#include "KelvoCore/Launcher/LauncherRecents.h"

#include "Base/Text/TextSet.h"

namespace kelvo {

std::vector<std::string> LauncherRecents::cleaned(const std::vector<std::string>& list) {
    std::vector<std::string> kept;
    TextSet seen;
    for (const std::string& bundleID : list) {
        if (kept.size() == limit) break;
        if (bundleID.empty() || !seen.insert(bundleID).second) continue;
        kept.push_back(bundleID);
    }
    return kept;
}

std::vector<std::string> LauncherRecents::recording(const std::string& bundleID,
                                                    const std::vector<std::string>& list) {
    if (bundleID.empty()) return list;
    std::vector<std::string> result{bundleID};
    for (const std::string& other : list) {
        if (result.size() == limit) break;
        if (!UnicodeText::canonicallyEquivalent(other, bundleID)) result.push_back(other);
    }
    return result;
}

}  // namespace kelvo
