#include "KelvoCore/Launcher/LauncherEntry.h"

#include "Base/Text/UnicodeText.h"

namespace kelvo {

bool LauncherEntry::operator==(const LauncherEntry& other) const {
    return isRunning == other.isRunning &&
           UnicodeText::canonicallyEquivalent(bundleID, other.bundleID) &&
           UnicodeText::canonicallyEquivalent(name, other.name);
}

}  // namespace kelvo
