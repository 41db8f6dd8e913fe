#include "KelvoApp/Applications/AppDisplayNames.h"

#include <optional>

#include "KelvoApp/Applications/AppCatalog.h"
#include "Platform/AppKit/NSWorkspace.h"

namespace kelvo {

namespace {

std::optional<std::string> runningName(const std::string& bundleID) {
    for (const auto& app : NSWorkspace::sharedWorkspace().runningApplications()) {
        if (app->bundleIdentifier() == bundleID && !app->isTerminated())
            return app->localizedName();
    }
    return std::nullopt;
}

}  // namespace

std::map<std::string, std::string>& AppDisplayNames::memo() {
    static std::map<std::string, std::string> names;
    return names;
}

std::string AppDisplayNames::name(const std::string& bundleID) {
    auto& names = memo();
    if (const auto found = names.find(bundleID); found != names.end()) return found->second;
    auto shown = runningName(bundleID);
    if (!shown) shown = AppCatalog::name(bundleID);
    return names.emplace(bundleID, shown.value_or(bundleID)).first->second;
}

}  // namespace kelvo
