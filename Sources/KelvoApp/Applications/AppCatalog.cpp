#include "KelvoApp/Applications/AppCatalog.h"

#include <algorithm>
#include <set>

#include "Base/Text/UnicodeText.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSFileManager.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

std::optional<std::string> AppCatalog::name(const std::string& bundleID) {
    const auto url = NSWorkspace::sharedWorkspace().URLForApplicationWithBundleIdentifier(bundleID);
    if (!url) return std::nullopt;
    const std::filesystem::path path(*url);
    const std::string shown = NSFileManager::defaultManager().displayNameAtPath(path);
    if (!shown.empty() && shown != path.filename().string()) return shown;
    if (const auto bundle = NSBundle::bundleWithURL(path)) {
        if (auto displayName = bundle->objectForInfoDictionaryKey("CFBundleDisplayName"))
            return displayName;
    }
    return path.stem().string();
}

std::vector<AppEntry> AppCatalog::running() {
    std::vector<AppEntry> entries;
    std::set<std::string> taken;
    for (const auto& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app->activationPolicy() != NSApplicationActivationPolicyRegular) continue;
        if (app->isTerminated()) continue;
        const auto bundleID = app->bundleIdentifier();
        if (!bundleID || !taken.insert(*bundleID).second) continue;
        auto shown = app->localizedName();
        if (!shown) shown = name(*bundleID);
        entries.push_back(AppEntry{*bundleID, shown.value_or(*bundleID)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const AppEntry& a, const AppEntry& b) {
        return UnicodeText::localizedCaseInsensitiveCompare(a.name, b.name) < 0;
    });
    return entries;
}

NSImageRef AppCatalog::icon(const std::string& bundleID) {
    const auto url = NSWorkspace::sharedWorkspace().URLForApplicationWithBundleIdentifier(bundleID);
    if (!url) return nullptr;
    return NSWorkspace::sharedWorkspace().iconForFile(*url);
}

}  // namespace kelvo
