#include "KelvoApp/Services/Launcher/AppIcons.h"

#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

std::map<std::string, NSImageRef>& AppIcons::memo() {
    static std::map<std::string, NSImageRef> icons;
    return icons;
}

NSImageRef AppIcons::icon(const std::string& bundleID,
                          const std::optional<std::filesystem::path>& url) {
    auto& icons = memo();
    if (const auto found = icons.find(bundleID); found != icons.end()) return found->second;
    auto& workspace = NSWorkspace::sharedWorkspace();
    std::optional<std::string> path;
    if (url) {
        path = url->string();
    } else {
        path = workspace.URLForApplicationWithBundleIdentifier(bundleID);
    }
    NSImageRef image = path ? workspace.iconForFile(*path) : nullptr;
    return icons.emplace(bundleID, std::move(image)).first->second;
}

}  // namespace kelvo
