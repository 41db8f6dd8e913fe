#include "KelvoApp/Services/Launcher/LauncherCatalog.h"

#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSFileManager.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

constexpr NSDirectoryEnumerationOptions listing =
    NSDirectoryEnumerationSkipsHiddenFiles | NSDirectoryEnumerationSkipsPackageDescendants;

bool isApplication(const std::filesystem::path& url) {
    return url.extension() == ".app";
}

}  // namespace

const std::vector<std::filesystem::path>& LauncherCatalog::roots() {
    static const std::vector<std::filesystem::path> made = [] {
        const auto& files = NSFileManager::defaultManager();
        return std::vector<std::filesystem::path>{
            files.URLForSystemPath("/Applications"),
            files.homeDirectoryForCurrentUser() / "Applications",
            files.URLForSystemPath("/System/Applications")};
    }();
    return made;
}

std::vector<std::filesystem::path> LauncherCatalog::candidates(const std::filesystem::path& root) {
    const auto& files = NSFileManager::defaultManager();
    std::vector<std::filesystem::path> found;
    const auto items = files.contentsOfDirectoryAtURL(root, listing);
    if (!items) return found;
    for (const auto& item : *items) {
        if (isApplication(item)) {
            found.push_back(item);
            continue;
        }
        // Folders such as Utilities are searched one level deep, and no deeper.
        if (files.isDirectoryResourceValue(item) != true) continue;
        const auto inner = files.contentsOfDirectoryAtURL(item, listing);
        if (!inner) continue;
        for (const auto& nested : *inner) {
            if (isApplication(nested)) found.push_back(nested);
        }
    }
    return found;
}

std::map<std::string, LauncherApp> LauncherCatalog::installed() {
    std::map<std::string, LauncherApp> apps;
    for (const auto& root : roots()) {
        for (const auto& url : candidates(root)) {
            const auto bundle = NSBundle::bundleWithURL(url);
            if (!bundle) continue;
            const auto bundleID = bundle->bundleIdentifier();
            if (!bundleID || apps.contains(*bundleID)) continue;
            apps.emplace(*bundleID,
                         LauncherApp{LauncherEntry{*bundleID, displayName(url), false}, url});
        }
    }
    return apps;
}

std::map<std::string, LauncherApp> LauncherCatalog::running() {
    std::map<std::string, LauncherApp> apps;
    for (const auto& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app->activationPolicy() != NSApplicationActivationPolicyRegular) continue;
        if (app->isTerminated()) continue;
        const auto bundleID = app->bundleIdentifier();
        if (!bundleID || apps.contains(*bundleID)) continue;
        std::optional<std::filesystem::path> url;
        if (const auto path = app->bundleURL()) url = *path;
        std::string name;
        if (const auto localized = app->localizedName()) {
            name = *localized;
        } else {
            name = url ? displayName(*url) : *bundleID;
        }
        apps.emplace(*bundleID, LauncherApp{LauncherEntry{*bundleID, name, true}, url});
    }
    return apps;
}

std::string LauncherCatalog::displayName(const std::filesystem::path& url) {
    const std::string shown = NSFileManager::defaultManager().displayNameAtPath(url);
    if (!shown.empty() && shown != url.filename().string()) return shown;
    return url.stem().string();
}

}  // namespace kelvo
