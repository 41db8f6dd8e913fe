#include "KelvoApp/Applications/TerminalCatalog.h"

#include "KelvoApp/Applications/AppCatalog.h"
#include "KelvoApp/Applications/TerminalLauncher.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

std::optional<AppEntry> installedEntry(const std::string& bundleID) {
    if (!NSWorkspace::sharedWorkspace().URLForApplicationWithBundleIdentifier(bundleID))
        return std::nullopt;
    return AppEntry{bundleID, AppCatalog::name(bundleID).value_or(bundleID)};
}

}  // namespace

std::optional<AppEntry> TerminalCatalog::automatic() {
    for (const auto& bundleID : TerminalLauncher::probeOrder()) {
        if (auto entry = installedEntry(bundleID)) return entry;
    }
    return std::nullopt;
}

std::vector<AppEntry> TerminalCatalog::installed() {
    std::vector<AppEntry> entries;
    for (const auto& bundleID : TerminalLauncher::probeOrder()) {
        if (auto entry = installedEntry(bundleID)) entries.push_back(std::move(*entry));
    }
    return entries;
}

}  // namespace kelvo
