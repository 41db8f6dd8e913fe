#include "KelvoApp/Settings/AboutReadouts.h"

#include "Base/Foundation/FileManager.h"
#include "KelvoApp/Diagnostics/Diagnostics.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "Platform/AppKit/NSBundle.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

std::string AboutReadouts::versionString() const {
    if (!model_.isBundled) return developmentVersion;
    return NSBundle::mainBundle()
        .objectForInfoDictionaryKey("CFBundleShortVersionString")
        .value_or(developmentVersion);
}

std::string AboutReadouts::buildDetail() const {
    NSBundle& bundle = NSBundle::mainBundle();
    if (!model_.isBundled) {
        return "Running from " + bundle.bundleURL().filename().string() +
               ", not an installed Kelvo.app, so there is no version to report.";
    }
    if (const auto build = bundle.objectForInfoDictionaryKey("CFBundleVersion"))
        return "Build " + *build + ".";
    return "Bundled.";
}

int AboutReadouts::crashCount() {
    if (!crashCount_) crashCount_ = static_cast<int>(Diagnostics::crashReports().size());
    return *crashCount_;
}

std::optional<std::filesystem::path> AboutReadouts::reportProblem() const {
    return Diagnostics::writeReport(model_.configURL, model_.logURL);
}

void AboutReadouts::reveal(const std::filesystem::path& url) {
    NSWorkspace& workspace = NSWorkspace::sharedWorkspace();
    if (FileManager::defaultManager().fileExists(url)) {
        workspace.activateFileViewerSelectingURLs({url});
        return;
    }
    workspace.openFile(url.parent_path());
}

}  // namespace kelvo
